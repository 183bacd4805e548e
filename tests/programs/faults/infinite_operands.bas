// Infinite operands: "%", "&" and "|" read them as 0; a finite value divided by INF is 0;
// an infinite loop limit is a plain limit.
LOG 0,A
B=-A
PRINT B%5
PRINT 5%7+B|0
PRINT 3/B
FOR I=1 TO B
IF I>2 THEN GOTO 1
NEXT I
LABEL 1
PRINT I
FOR J=1 TO A
PRINT J
NEXT J
PRINT J
// expect: 0
// expect: 0
// expect: 0
// expect: 3
// expect: 1
// expect: 2
