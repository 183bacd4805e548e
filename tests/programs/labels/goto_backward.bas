// A loop built from a label and a conditional jump.
LABEL 5:A=A+1:PRINT A:IF A<3 THEN GOTO 5
PRINT 9
// expect: 1
// expect: 2
// expect: 3
// expect: 9
