// A quotient of finite values beyond the double range is an overflow.
A=100000000000000
B=A
FOR I=1 TO 21:B=B*A:NEXT I
C=B/0.01
PRINT C
// exit: 1
// expect: ERROR in line: 4
// expect: ERROR: Floating point overflow
