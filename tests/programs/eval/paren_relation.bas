// Parentheses hold an expression, not a relation.
IF (1<2) THEN PRINT 1
PRINT 2
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Expected token 31, got 32
// expect: ERROR in line: 1
// expect: ERROR: Expected token 8, got 31
