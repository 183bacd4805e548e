// The label search goes token by token: LABEL inside a string literal is text.
GOTO 4
PRINT "LABEL 4"
PRINT 1
LABEL 4
PRINT 2
// expect: 2
// finding: 2:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
