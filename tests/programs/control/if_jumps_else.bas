// GOTO, RETURN and END after THEN leave before they meet ELSE.
C=0
LABEL 1
IF C<1 THEN GOTO 10 ELSE GOTO 20
LABEL 10
PRINT 10
C=C+1
GOTO 1
LABEL 20
PRINT 20
GOSUB 30
PRINT 40
IF 1<2 THEN END ELSE PRINT 50
PRINT 60
LABEL 30
IF 1<2 THEN RETURN ELSE PRINT 99
// expect: 10
// expect: 20
// expect: 40
// stderr: Stop in line: 12
// finding: 15:12: A run also comes to this RETURN from the lines above, without a GOSUB, and stops here with "RETURN does not match": put END before LABEL 30, where the subroutine starts.
