// A failed label search reports on the last program line, not on the DATA section.
// exit: 1
// expect: ERROR in line: 9
// expect: ERROR: Expected token 1, got 2
// expect: ERROR in line: 9
// expect: ERROR: Expected token 3, got 2
// stderr: Stop in line: 9
GOTO 3
// the program's last line
PRINT 1

DATA
1 2 3
LABEL 3
