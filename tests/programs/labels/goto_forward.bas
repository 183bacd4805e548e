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
// finding: 1:8: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 3:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 5:16: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
