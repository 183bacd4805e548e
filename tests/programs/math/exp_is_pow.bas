// EXP raises its first argument to the power of its second and reports under the name pow.
// expect: 1024
// expect: 1
// expect: -8
// expect: 1
// expect: NAN
// expect: INF
// stderr: pow: DOMAIN error
// stderr: pow: DOMAIN error
// stderr: pow: OVERFLOW error
// stderr: Stop in line: 16
EXP 2, 10, A: PRINT A
EXP 1, 5, A: PRINT A
EXP -2, 3, A: PRINT A
EXP 0, 0, A: PRINT A
EXP -8, 0.5, A: PRINT A
EXP 10, 400, A: PRINT A
