// IF without THEN: the check fails on PRINT and steps over it; the condition holds, so
// the statement after it begins at the number, which starts no statement.
IF 1<2 PRINT 5
PRINT 6
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Expected token 8, got 6
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// finding: 2:7: IF needs THEN here, not PRINT: a run stops here with an error. The form is IF A<B THEN PRINT A.
