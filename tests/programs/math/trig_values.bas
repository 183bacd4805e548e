// Trigonometric statements in radians; TPATAN takes y first, then x.
// expect: 0
// expect: 1
// expect: 0.479425538604203
// expect: -0.416146836547142
// expect: 1.5574077246549
// expect: 0.523598775598299
// expect: 2.0943951023932
// expect: 3.14159265358979
// expect: -1.10714871779409
// expect: 0.785398163397448
// expect: 0.463647609000806
// expect: 1.5707963267949
// expect: 3.14159265358979
// stderr: Stop in line: 27
SIN 0, A: PRINT A
COS 0, A: PRINT A
SIN 0.5, A: PRINT A
COS 2, A: PRINT A
TAN 1, A: PRINT A
ASIN 0.5, A: PRINT A
ACOS -0.5, A: PRINT A
ACOS -1, A: PRINT A
ATAN -2, A: PRINT A
ATAN 1, A: PRINT A
TPATAN 1, 2, A: PRINT A
TPATAN 1, 0, A: PRINT A
TPATAN 0, -1, A: PRINT A
