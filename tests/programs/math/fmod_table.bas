// Remainders keep the sign of the dividend; zero and infinite operands.
// expect: 1
// expect: -1
// expect: 1.5
// expect: 0
// expect: 0
// expect: 5
// expect: -5.5
// stderr: pow: OVERFLOW error
// stderr: Stop in line: 17
FMOD 7, -3, A: PRINT A
FMOD -7, 3, A: PRINT A
FMOD 7.5, 2, A: PRINT A
FMOD 5, 0, A: PRINT A
POW 10, 400, I
FMOD I, 3, A: PRINT A
FMOD 5, I, A: PRINT A
FMOD -5.5, I, A: PRINT A
