// The sum of 1 to 100.
S=0
FOR I=1 TO 100
S=S+I
NEXT I
PRINT S
