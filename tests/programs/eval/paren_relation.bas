// Parentheses hold an expression, not a relation.
IF (1<2) THEN PRINT 1
PRINT 2
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Expected token 31, got 32
// expect: ERROR in line: 1
// expect: ERROR: Expected token 8, got 31
// finding: 1:5: A comparison cannot stand inside brackets, and a run stops here with an error: only calculations can. Write the condition without them: IF A<B THEN ...
