// A string literal runs to the next quote, across the ":" that joins two lines.
PRINT "AB
PRINT"
PRINT 3
// expect: AB:PRINT
// expect: 3
