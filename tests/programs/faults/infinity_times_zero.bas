// INF*0 gives NaN from non-NaN operands: an invalid operation.
LOG 0,A
B=-A
PRINT B*0
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Invalid floating point operation
