// The largest of three numbers.
A=4
B=9
C=2
M=A
IF B>M THEN M=B
IF C>M THEN M=C
PRINT "LARGEST"
PRINT M
