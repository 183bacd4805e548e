// Powers of two with POW.
FOR I=0 TO 8
POW 2,I,P
PRINT P
NEXT I
