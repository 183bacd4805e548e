// SIN, COS and TAN give NaN without a message for arguments of 2^53 or more in
// magnitude, infinite or NaN; just below 2^53 they still compute.
// expect: NAN
// expect: NAN
// expect: NAN
// expect: -0.0139493245880329
// expect: NAN
// expect: NAN
// expect: end
// stderr: pow: OVERFLOW error
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 21
SIN 100000000*100000000, A: PRINT A
POW 2, 53, X
COS X, A: PRINT A
TAN 0-X, A: PRINT A
SIN X-1, A: PRINT A
POW 10, 400, I
SIN I, A: PRINT A
SQRT -1, N
COS N, A: PRINT A
PRINT "end"
