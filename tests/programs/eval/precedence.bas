// "*", "/" and "%" bind tighter than "+", "-", "&" and "|"; each level goes left to right.
PRINT 2+3*4
PRINT (2+3)*4
PRINT 10-4-3
PRINT 8/2/2
PRINT 2*3+4*5
PRINT 100/10*2
PRINT 7-2*3
PRINT ((2+3)*(4-1))
PRINT 2*(3+4)*5
PRINT 1+2&3
PRINT 3&1+2
PRINT 1|2*3
PRINT 2+3|4
PRINT 12-4|1
PRINT 6%4*3
PRINT 2*7%4
PRINT 1+7%4
// expect: 14
// expect: 20
// expect: 3
// expect: 2
// expect: 26
// expect: 20
// expect: 1
// expect: 15
// expect: 70
// expect: 3
// expect: 3
// expect: 7
// expect: 5
// expect: 9
// expect: 6
// expect: 2
// expect: 4
