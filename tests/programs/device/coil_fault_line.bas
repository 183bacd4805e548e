// COIL tests its values after reading the end of its line; a NaN names the line of the
// statement all the same.
SQRT -1, N
COIL 0, N, 0
PRINT 1
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Invalid floating point operation
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 4
