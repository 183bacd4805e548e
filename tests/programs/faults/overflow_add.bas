// A sum of finite values beyond the double range is an overflow.
A=100000000000000
B=A
FOR I=1 TO 21:B=B*A:NEXT I
PRINT B
C=B+B
PRINT C
// exit: 1
// expect: 1E308
// expect: ERROR in line: 5
// expect: ERROR: Floating point overflow
