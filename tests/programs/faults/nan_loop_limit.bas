// NEXT compares the loop variable with the limit: a NaN limit is an invalid operation there.
SIN 100000000*100000000,N
FOR I=1 TO N
PRINT I
NEXT I
PRINT 9
// exit: 1
// expect: 1
// expect: ERROR in line: 4
// expect: ERROR: Invalid floating point operation
