// A loop with a label: doubles A until it passes 1000.
A=1
LABEL 1
A=A*2
IF A<1000 THEN GOTO 1
PRINT A
