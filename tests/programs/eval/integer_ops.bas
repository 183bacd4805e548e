// "%", "&" and "|" work on operands truncated to 32-bit integers (low 32 bits of the 64-bit
// truncation; out of range and NaN give 0).
PRINT 7%3
PRINT -7%3
PRINT 7%-3
PRINT -7%-3
PRINT 7.9%3.2
PRINT 2.9%5
PRINT -1&255
PRINT 6&3
PRINT 6|3
PRINT 5000000000|0
PRINT 2147483648|0
PRINT 4294967295|0
PRINT -2.9|0
PRINT -2147483648%-1
PRINT 4294967303%5
PRINT 2147483648%10
A=100000000000000*100000
PRINT A|0
B=100000000000000*10000
PRINT B|0
// expect: 1
// expect: -1
// expect: 1
// expect: -1
// expect: 1
// expect: 2
// expect: 255
// expect: 2
// expect: 7
// expect: 705032704
// expect: -2147483648
// expect: -1
// expect: -2
// expect: 0
// expect: 2
// expect: -8
// expect: 0
// expect: -1486618624
