// Powers: ordinary results, zero and negative bases, overflow and underflow.
// expect: 1024
// expect: -512
// expect: NAN
// expect: 1
// expect: INF
// expect: 0
// expect: 1
// expect: 0.5
// expect: -0.125
// expect: 3
// expect: INF
// expect: 0
// expect: 1
// expect: NAN
// stderr: pow: DOMAIN error
// stderr: pow: DOMAIN error
// stderr: pow: DOMAIN error
// stderr: pow: OVERFLOW error
// stderr: pow: DOMAIN error
// stderr: Stop in line: 35
POW 2, 10, A: PRINT A
POW -8, 3, A: PRINT A
POW -8, 0.5, A: PRINT A
POW 0, 0, A: PRINT A
POW 0, -1, A: PRINT A
POW 0, 2, A: PRINT A
POW -3, 0, A: PRINT A
POW 2, -1, A: PRINT A
POW -2, -3, A: PRINT A
POW 9, 0.5, A: PRINT A
POW 10, 400, A: PRINT A
POW 10, -400, A: PRINT A
// Integral exponents from 2^63 up no longer count as integers for a negative base.
POW 2, 62, Q: POW -1, Q, A: PRINT A
POW 2, 63, Q: POW -1, Q, A: PRINT A
