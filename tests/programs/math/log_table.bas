// Natural and base-10 logarithms, including zero, negative and infinite arguments.
// expect: 0
// expect: 2.30258509299405
// expect: -INF
// expect: NAN
// expect: INF
// expect: 3
// expect: 0.301029995663981
// expect: -INF
// expect: NAN
// expect: INF
// stderr: log: SING error
// stderr: log: DOMAIN error
// stderr: pow: OVERFLOW error
// stderr: log: OVERFLOW error
// stderr: log10: SING error
// stderr: log10: DOMAIN error
// stderr: log10: OVERFLOW error
// stderr: Stop in line: 29
LOG 1, A: PRINT A
LOG 10, A: PRINT A
LOG 0, A: PRINT A
LOG -1, A: PRINT A
POW 10, 400, I
LOG I, A: PRINT A
DLOG 1000, A: PRINT A
DLOG 2, A: PRINT A
DLOG 0, A: PRINT A
DLOG -5, A: PRINT A
DLOG I, A: PRINT A
