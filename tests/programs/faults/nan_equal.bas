// "=" with a NaN operand is an invalid operation too, even comparing NaN with itself.
SIN 100000000*100000000,N
IF N=N THEN PRINT 1 ELSE PRINT 2
PRINT 3
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Invalid floating point operation
// finding: 2:20: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF N=N THEN GOTO ... ELSE ...
