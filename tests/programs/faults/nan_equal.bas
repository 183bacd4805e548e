// "=" with a NaN operand is an invalid operation too, even comparing NaN with itself.
SIN 100000000*100000000,N
IF N=N THEN PRINT 1 ELSE PRINT 2
PRINT 3
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Invalid floating point operation
