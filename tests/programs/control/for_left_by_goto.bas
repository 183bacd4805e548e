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
// finding: 5:13: GOTO 1 jumps out of the loop FOR I of line 5 to a line above it: the loop stays open, each pass opens one more, and the fifth open FOR stops the run. Let the loop end at NEXT I first, or jump forward past it.
