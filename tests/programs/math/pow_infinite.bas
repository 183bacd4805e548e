// Powers with an infinite operand.
// expect: INF
// expect: 0
// expect: INF
// stderr: pow: OVERFLOW error
// stderr: pow: OVERFLOW error
// stderr: pow: OVERFLOW error
// stderr: Stop in line: 11
POW 10, 400, I
POW I, 2, A: PRINT A
POW I, -1, A: PRINT A
POW 2, I, A: PRINT A
