// The fifth FOR ends its line; the overflow names that line, not the next one.
FOR A=1 TO 1
FOR B=1 TO 1
FOR C=1 TO 1
FOR D=1 TO 1
FOR E=1 TO 1
PRINT 5
// exit: 1
// expect: ERROR in line: 5
// expect: ERROR: FOR stack overflow
