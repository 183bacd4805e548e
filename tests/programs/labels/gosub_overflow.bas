// An eleventh nested GOSUB overflows the return stack and does not jump.
LABEL 1
A=A+1
PRINT A
GOSUB 1:PRINT 99
// exit: 1
// expect: 1
// expect: 2
// expect: 3
// expect: 4
// expect: 5
// expect: 6
// expect: 7
// expect: 8
// expect: 9
// expect: 10
// expect: 11
// expect: ERROR in line: 4
// expect: ERROR: GOSUB stack overflow
// stderr: Stop in line: 4
// finding: 4:0: GOSUB 1 enters lines that never come to a RETURN: the run never comes back here. End the subroutine with RETURN.
