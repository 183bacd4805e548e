// MGET reads the three magnetometer positions scaled by 0.01, in X, Y, Z order.
// args: --set magx=37 --set magy=-100 --set magz=-5
// expect: 0.37
// expect: -1
// expect: -0.05
MGET A, B, C
PRINT A: PRINT B: PRINT C
