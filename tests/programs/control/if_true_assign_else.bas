// After a true condition an assignment meets ELSE where its ":" belongs.
IF 1<2 THEN A=1 ELSE A=2
PRINT A
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Expected token 35, got 9
// finding: 1:16: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Set the other value first, on a line of its own, then change it: A=2, then IF 1<2 THEN A=1.
