// Scientific notation from 16 integer digits up and below 0.0001: "E", no "+", no leading zeros.
PRINT 1000000*1000000000
PRINT -1000000*1000000000
PRINT 0.00001
PRINT 0.000015
PRINT 0.00009
PRINT 100000000000000*100000
PRINT 123456789*1000000000
PRINT 0.0001/3
PRINT 0.0000000000001
PRINT 67108864*134217728
A=10
B=A*A
B=B*B
B=B*B
B=B*B
B=B*B
B=B*B
B=B*B
PRINT B
PRINT 1/B
PRINT -1/B
// expect: 1E15
// expect: -1E15
// expect: 1E-5
// expect: 1.5E-5
// expect: 9E-5
// expect: 1E19
// expect: 1.23456789E17
// expect: 3.33333333333333E-5
// expect: 1E-13
// expect: 9.00719925474099E15
// expect: 1E128
// expect: 1E-128
// expect: -1E-128
