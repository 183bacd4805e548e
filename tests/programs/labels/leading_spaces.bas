   GOTO 2
PRINT 1
LABEL 2
PRINT 2
// A first program line that begins with spaces runs, and the label search starts on it.
// expect: 2
// finding: 1:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
