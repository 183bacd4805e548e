// A string literal ends at a quote on its own line: the ":" that joins two lines never lets it
// run on into the next one. Left open, it is no token, and the run stops on its line.
PRINT "AB
PRINT"
PRINT 3
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// stderr: Stop in line: 2
