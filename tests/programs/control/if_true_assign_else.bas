// After a true condition an assignment meets ELSE where its ":" belongs.
IF 1<2 THEN A=1 ELSE A=2
PRINT A
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Expected token 35, got 9
