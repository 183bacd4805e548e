// Number literals: fifteen characters at most, sign included; atof decides the value.
// expect: 123456789012345
// expect: -12345678901234
// expect: 0.1234567890123
// expect: 1.2
// expect: 0
// expect: 0.5
// expect: 5
// expect: 7
// expect: 1E-13
// expect: 5
// expect: 1
// expect: -1
PRINT 123456789012345
PRINT -12345678901234
PRINT 0.1234567890123
// "1.2.3" is one token worth 1.2.
PRINT 1.2.3
// A lone "." is a number worth 0.
PRINT .
PRINT .5
PRINT 5.
PRINT 007
PRINT 0.0000000000001
// "--5" is a minus operator and the number -5.
A=--5
PRINT A
// A number right after an operand is added to it.
PRINT 2-1
PRINT -1
