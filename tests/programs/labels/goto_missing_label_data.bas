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
// finding: 7:5: There is no LABEL 3: a run looks for it through the whole program and stops at the last line. Put LABEL 3 where the GOTO should go, or GOTO a label that exists.
DATA
1 2 3
LABEL 3
