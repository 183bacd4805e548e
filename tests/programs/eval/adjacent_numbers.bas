// A number literal right after an operand is added to it, which is how A-1 works.
A=5
PRINT A-1
PRINT A -1
PRINT A - 1
PRINT A 5
PRINT A+-1
PRINT 3 4 5
PRINT A*2-1
PRINT 2-3-4
PRINT (A)-1
PRINT A-1-1
// expect: 4
// expect: 4
// expect: 4
// expect: 10
// expect: 4
// expect: 12
// expect: 9
// expect: -5
// expect: 4
// expect: 3
