// ACOS and ASIN outside -1..1 report a domain error and store NaN; ATAN never reports.
// expect: NAN
// expect: NAN
// expect: 0
// expect: -1.5707963267949
// expect: 1.5707963267949
// stderr: acos: DOMAIN error
// stderr: asin: DOMAIN error
// stderr: pow: OVERFLOW error
// stderr: Stop in line: 15
ACOS 2, A: PRINT A
ASIN -1.5, A: PRINT A
ACOS 1, A: PRINT A
ASIN -1, A: PRINT A
POW 10, 400, I
ATAN I, A: PRINT A
