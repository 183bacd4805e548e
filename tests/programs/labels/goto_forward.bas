// A jump to a label further on skips everything in between, also on the same line.
GOTO 20:PRINT 1:LABEL 20:PRINT 2
GOTO 30
PRINT 3
LABEL 30
PRINT 4:GOTO 40:PRINT 5
PRINT 6:LABEL 40:PRINT 7
// expect: 2
// expect: 4
// expect: 7
