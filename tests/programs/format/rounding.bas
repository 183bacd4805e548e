// The notation is chosen after rounding: a value that rounds up to 16 integer digits is
// scientific, and one just below 0.0001 that rounds to 0.0001 is plain.
PRINT 999999999999999+0.6
C=0.00000001
D=1-C*C
PRINT D
PRINT D*0.0001
PRINT D*100000000*10000000
PRINT 0.1*3
// expect: 1E15
// expect: 1
// expect: 0.0001
// expect: 1E15
// expect: 0.3
