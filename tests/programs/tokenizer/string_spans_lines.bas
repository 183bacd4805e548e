// A string literal ends at a quote on its own line: the ":" that joins two lines never lets it
// run on into the next one. Left open, it is no token, and the run stops on its line.
PRINT "AB
PRINT"
PRINT 3
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// stderr: Stop in line: 2
// finding: 2:6: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
// finding: 3:5: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
