// Infinities from the math statements are values; arithmetic on them is no fault until
// it gives NaN: INF+(-INF) is an invalid operation.
LOG 0,A
B=-A
PRINT A
PRINT B
PRINT B+1
PRINT B*2
PRINT 1/B
PRINT A-1
PRINT A+B
PRINT 5
// exit: 1
// expect: -INF
// expect: INF
// expect: INF
// expect: INF
// expect: 0
// expect: -INF
// expect: ERROR in line: 10
// expect: ERROR: Invalid floating point operation
// stderr: log: SING error
// stderr: Stop in line: 10
