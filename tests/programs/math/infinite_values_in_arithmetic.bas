// Infinite and NaN values from math statements are ordinary values in arithmetic;
// only a NaN made from non-NaN operands (INF-INF) is a fault.
// exit: 1
// expect: INF
// expect: INF
// expect: -INF
// expect: 0
// expect: NAN
// expect: ERROR in line: 20
// expect: ERROR: Invalid floating point operation
// stderr: pow: OVERFLOW error
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 20
POW 10, 400, I
SQRT -1, N
PRINT I+1
PRINT I*2
PRINT 0-I
PRINT 1/I
PRINT N+1
PRINT I-I: PRINT 9
PRINT 10
