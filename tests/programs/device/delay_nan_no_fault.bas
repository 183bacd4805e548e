// DELAY with a NaN time waits no time and is no fault.
// expect: 5
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 6
SQRT -1, N
DELAY N
PRINT 5
