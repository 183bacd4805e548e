// IF runs or skips exactly one statement; what follows the ":" runs either way.
IF 2<1 THEN PRINT 1:PRINT 2
IF 1<2 THEN PRINT 3:PRINT 4
IF 2<1 THEN PRINT 5 ELSE PRINT 6
IF 1<2 THEN PRINT 7 ELSE PRINT 8
IF 2<1 THEN ELSE PRINT 9
IF 2<1 THEN PRINT 1/0
IF 2<1 THEN PRINT "ELSE" ELSE PRINT 10
IF 2<1 THEN PRINT "A:B" ELSE PRINT 11
A=5
IF A<B THEN C=1:D=2
PRINT C
PRINT D
IF 2<1 THEN GOTO 99 ELSE PRINT 12:PRINT 13
IF1<2THENPRINT14ELSEPRINT15
// expect: 2
// expect: 3
// expect: 4
// expect: 6
// expect: 7
// expect: 8
// expect: 10
// expect: 11
// expect: 0
// expect: 2
// expect: 12
// expect: 13
// expect: 14
// expect: 15
