// "1E5" is the one-character number "1", which atof reads as 100000, and then the variable E.
PRINT 1E5
E=10
PRINT 1E5
PRINT 2E-3
GOTO 1E1
PRINT 99
LABEL 10
PRINT 1.5E2
A=1E2
PRINT A
// expect: 100000
// expect: 5
// expect: 100000
// expect: 15
// expect: 0.002
// expect: 7
// expect: 150
// expect: 12
// expect: ERROR in line: 9
// expect: ERROR: Expected token 35, got 5
// exit: 1
