// A NEXT after THEN loops without looking for ":"; the NEXT that ends the loop checks
// for ":" and meets ELSE.
FOR I=1 TO 3
PRINT I
IF 1<2 THEN NEXT I ELSE PRINT 9
PRINT 8
// exit: 1
// expect: 1
// expect: 2
// expect: 3
// expect: ERROR in line: 4
// expect: ERROR: Expected token 35, got 9
// finding: 4:19: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Jump instead: IF 1<2 THEN GOTO ... ELSE ..., or give each part an IF of its own.
