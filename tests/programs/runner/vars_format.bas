// The variable list follows the program's output: 26 lines, six significant digits,
// scientific notation from one million and below 0.0001.
// args: --vars
// expect: out
// expect: A: 1.23457E6
// expect: B: 1E6
// expect: C: 0.000123457
// expect: D: 123456
// expect: E: 1E6
// expect: F: -1.23457E6
// expect: G: 0.333333
// expect: H: 1E-5
// expect: I: 1.5E-5
// expect: J: 1E20
// expect: K: -0.5
// expect: L: 12.5
// expect: M: 3.14159
// expect: N: 999999
// expect: O: 0.0001
// expect: P: 0
// expect: Q: 0
// expect: R: 0
// expect: S: 0
// expect: T: 0
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
PRINT "out"
A=1234567
B=1000000
C=0.0001234567
D=123456
E=999999.5
F=-1234567
G=1/3
H=0.00001
I=0.000015
J=10000000000*10000000000
K=-0.5
L=12.5
M=3.14159265
N=999999.4
O=0.0001
