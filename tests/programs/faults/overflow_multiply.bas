// A product of finite values that is too large for a double is an overflow.
A=10
LABEL 1
A=A*A
PRINT A
GOTO 1
// exit: 1
// expect: 100
// expect: 10000
// expect: 100000000
// expect: 1E16
// expect: 1E32
// expect: 1E64
// expect: 1E128
// expect: 1E256
// expect: ERROR in line: 3
// expect: ERROR: Floating point overflow
// stderr: Stop in line: 3
