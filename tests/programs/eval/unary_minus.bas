// The minus operator is accepted only at the start of an expression and negates the first term;
// a minus sign directly before a digit belongs to the number.
A=2
B=3
C=-A*B
D=-(A+B)
E=A*-2
F=A+-1
G=A--1
H=- 2*3
J=-A+B
K=-A-B
L=-2*3
M=A- -1
PRINT C;D;E;F;G;H;J;K;L;M
// expect: -6
// expect: -5
// expect: -4
// expect: 1
// expect: 3
// expect: -6
// expect: 1
// expect: -5
// expect: -6
// expect: 3
