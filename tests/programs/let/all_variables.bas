// Each of the 26 letters is its own variable; several assignments may share a line.
A=1
B=A+1:C=B+1:D=C+1
E = D + 1
F=E+1
G=F+1:H=G+1
I=H+1:J=I+1:K=J+1:L=K+1:M=L+1
N=M+1
O=N+1:P=O+1:Q=P+1:R=Q+1:S=R+1:T=S+1:U=T+1:V=U+1:W=V+1:X=W+1:Y=X+1
Z=Y+Y-A-Z
// args: --vars
// expect: A: 1
// expect: B: 2
// expect: C: 3
// expect: D: 4
// expect: E: 5
// expect: F: 6
// expect: G: 7
// expect: H: 8
// expect: I: 9
// expect: J: 10
// expect: K: 11
// expect: L: 12
// expect: M: 13
// expect: N: 14
// expect: O: 15
// expect: P: 16
// expect: Q: 17
// expect: R: 18
// expect: S: 19
// expect: T: 20
// expect: U: 21
// expect: V: 22
// expect: W: 23
// expect: X: 24
// expect: Y: 25
// expect: Z: 49
