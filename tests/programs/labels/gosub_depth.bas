// Ten return points can be stored; the RETURN after the last one is unwound does not match.
LABEL 1
A=A+1
IF A<11 THEN GOSUB 1
PRINT A
A=A-1
RETURN
// exit: 1
// expect: 11
// expect: 10
// expect: 9
// expect: 8
// expect: 7
// expect: 6
// expect: 5
// expect: 4
// expect: 3
// expect: 2
// expect: 1
// expect: ERROR in line: 6
// expect: ERROR: RETURN does not match
// stderr: Stop in line: 6
// finding: 6:0: A run also comes to this RETURN from the lines above, without a GOSUB, and stops here with "RETURN does not match": put END before LABEL 1, where the subroutine starts.
