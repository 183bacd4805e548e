// TPATAN of two zeros or two infinities is a domain error with a NaN result.
// expect: NAN
// expect: NAN
// expect: NAN
// expect: 0
// expect: 1.5707963267949
// stderr: atan2: DOMAIN error
// stderr: pow: OVERFLOW error
// stderr: log: SING error
// stderr: atan2: DOMAIN error
// stderr: atan2: DOMAIN error
// stderr: Stop in line: 18
TPATAN 0, 0, A: PRINT A
POW 10, 400, I
LOG 0, J
TPATAN I, I, A: PRINT A
TPATAN I, J, A: PRINT A
TPATAN 1, I, A: PRINT A
TPATAN I, 1, A: PRINT A
