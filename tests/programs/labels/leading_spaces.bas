   GOTO 2
PRINT 1
LABEL 2
PRINT 2
// A first program line that begins with spaces runs, and the label search starts on it.
// expect: 2
