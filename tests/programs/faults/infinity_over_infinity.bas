// INF/INF gives NaN from non-NaN operands: an invalid operation.
LOG 0,A
B=A/A
PRINT B
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Invalid floating point operation
