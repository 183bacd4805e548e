// The variable listing rounds to 6 significant digits with the same notation rules.
A=1234567
B=1000000
C=999999
D=999999.5
E=123456.7
F=0.0001234567
G=0.00001
H=-0.5
I=2/3
J=0.0001
K=0.000099999951
L=3.14159265
M=100
N=-1234567
O=100000000000000*100000000000000
P=0.1+0.2
Q=1/3
SIN 100000000*100000000,S
LOG 0,T
U=-T
V=100000000
W=-0.00012345678
// args: --vars
// expect: A: 1.23457E6
// expect: B: 1E6
// expect: C: 999999
// expect: D: 1E6
// expect: E: 123457
// expect: F: 0.000123457
// expect: G: 1E-5
// expect: H: -0.5
// expect: I: 0.666667
// expect: J: 0.0001
// expect: K: 0.0001
// expect: L: 3.14159
// expect: M: 100
// expect: N: -1.23457E6
// expect: O: 1E28
// expect: P: 0.3
// expect: Q: 0.333333
// expect: R: 0
// expect: S: NAN
// expect: T: -INF
// expect: U: INF
// expect: V: 1E8
// expect: W: -0.000123457
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
