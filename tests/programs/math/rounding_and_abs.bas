// CEIL, FLOOR and FABS, also with infinite and NaN arguments, which they never report.
// expect: -1
// expect: -2
// expect: 3
// expect: 2
// expect: 4
// expect: -1
// expect: 3.25
// expect: 7
// expect: INF
// expect: -INF
// expect: NAN
// expect: NAN
// stderr: log: SING error
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 29
CEIL -1.5, A: PRINT A
FLOOR -1.5, A: PRINT A
CEIL 2.1, A: PRINT A
FLOOR 2.9, A: PRINT A
CEIL 4, A: PRINT A
FLOOR -0.5, A: PRINT A
FABS -3.25, A: PRINT A
FABS 7, A: PRINT A
LOG 0, M
FABS M, A: PRINT A
FLOOR M, A: PRINT A
SQRT -1, N
CEIL N, A: PRINT A
FABS N, A: PRINT A
