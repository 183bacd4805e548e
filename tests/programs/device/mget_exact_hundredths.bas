// A magnetometer reading equals the decimal literal of the same value exactly.
// args: --set magx=57 --set magy=-95 --set magz=35
// expect: 0
// expect: 0
// expect: 0
MGET A, B, C
PRINT A-0.57: PRINT B+0.95: PRINT C-0.35
