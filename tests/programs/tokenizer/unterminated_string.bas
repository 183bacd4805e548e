// A string literal without its closing quote is no token.
PRINT 1
PRINT "ABC
PRINT 2
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// exit: 1
// stderr: Stop in line: 2
// finding: 2:6: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
