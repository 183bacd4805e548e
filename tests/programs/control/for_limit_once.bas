// The limit is evaluated once at FOR; the body may change the loop variable.
N=3
FOR I=1 TO N
N=10
PRINT I
NEXT I
FOR I=1 TO 10
I=I+4
PRINT I
NEXT I
PRINT I
FOR I=1 TO 3
PRINT I
I=0
J=J+1
IF J>3 THEN I=5
NEXT I
PRINT J
// expect: 1
// expect: 2
// expect: 3
// expect: 5
// expect: 10
// expect: 11
// expect: 1
// expect: 1
// expect: 1
// expect: 1
// expect: 4
