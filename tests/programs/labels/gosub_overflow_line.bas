// GOSUB checks its end before it checks the stack; the overflow still names the line of the
// GOSUB, not the line after it.
LABEL 1
A=A+1
GOSUB 1
PRINT A
// exit: 1
// expect: ERROR in line: 4
// expect: ERROR: GOSUB stack overflow
// finding: 4:0: GOSUB 1 enters lines that never come to a RETURN: the run never comes back here. End the subroutine with RETURN.
