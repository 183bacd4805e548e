// A line DATA 1,2 is not the marker: it stays a program line (a bad assignment to D).
// exit: 1
// expect: 1
// expect: ERROR in line: 9
// expect: ERROR: Expected token 34, got 5
// expect: ERROR in line: 9
// expect: ERROR: Expected token 35, got 5
// stderr: Stop in line: 9
PRINT 1
DATA 1,2
PRINT 2
