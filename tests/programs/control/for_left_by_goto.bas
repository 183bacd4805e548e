// Leaving a loop by GOTO leaves it open; a program that does so again and again
// overflows the loop stack at the fifth FOR.
LABEL 1
A=A+1
PRINT A
FOR I=1 TO 2:GOTO 1
// exit: 1
// expect: 1
// expect: 2
// expect: 3
// expect: 4
// expect: 5
// expect: ERROR in line: 5
// expect: ERROR: FOR stack overflow
// finding: 5:0: FOR I has no NEXT I after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT I where the loop ends.
