// GOSUB checks its ":" before it checks the stack, so the overflow is reported on the line
// of the statement after it.
LABEL 1
A=A+1
GOSUB 1
PRINT A
// exit: 1
// expect: ERROR in line: 5
// expect: ERROR: GOSUB stack overflow
