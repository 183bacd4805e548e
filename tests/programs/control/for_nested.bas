// Four loops can be open at once; each NEXT closes the innermost one.
FOR I=1 TO 2:FOR J=1 TO 2:PRINT I*10+J:NEXT J:NEXT I
FOR A=1 TO 2
FOR B=1 TO 2
FOR C=1 TO 2
FOR D=1 TO 2
N=N+1
NEXT D
NEXT C
NEXT B
NEXT A
PRINT N
PRINT A
PRINT D
// expect: 11
// expect: 12
// expect: 21
// expect: 22
// expect: 16
// expect: 3
// expect: 3
