// Square roots of 1 to 5.
FOR I=1 TO 5
SQRT I,R
PRINT R
NEXT I
