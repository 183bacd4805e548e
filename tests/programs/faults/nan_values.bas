// NaN is a value: arithmetic with a NaN operand is no fault, the integer operators read it
// as 0, but comparing it is an invalid operation.
SIN 100000000*100000000,N
PRINT N
PRINT N+1
PRINT N*0
PRINT N|0
PRINT N%7
PRINT 7&N
IF N<1 THEN PRINT 1
PRINT 2
// exit: 1
// expect: NAN
// expect: NAN
// expect: NAN
// expect: 0
// expect: 0
// expect: 0
// expect: ERROR in line: 9
// expect: ERROR: Invalid floating point operation
// stderr: Stop in line: 9
