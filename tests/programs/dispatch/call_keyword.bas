// CALL is a keyword, but no statement begins with it.
PRINT 1
CALL 5
// exit: 1
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// finding: 2:0: CALL is a word of the language, but there is no CALL statement: a run stops here with "Unknown command". Call a subroutine with GOSUB.
