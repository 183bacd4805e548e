// A string literal without its closing quote is no token.
PRINT 1
PRINT "ABC
PRINT 2
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// exit: 1
// stderr: Stop in line: 2
