// There is no "<>". The failed operand check does not end the statement: "1<>2" is read as
// 1<0+2, which holds, so the PRINT after THEN still runs; the run stops after the statement.
IF 1<>2 THEN PRINT 1
PRINT 2
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Expected token 5, got 33
// expect: 1
// stderr: Stop in line: 3
// finding: 2:4: "<>" is not an operator of this language: there is no "not equal". Test 1<2 and 1>2 in two IF lines, or turn the test round: IF 1=2 THEN ... ELSE ...
