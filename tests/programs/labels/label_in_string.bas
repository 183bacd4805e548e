// The label search goes token by token: LABEL inside a string literal is text.
GOTO 4
PRINT "LABEL 4"
PRINT 1
LABEL 4
PRINT 2
// expect: 2
