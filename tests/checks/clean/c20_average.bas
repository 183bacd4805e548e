// The average of five temperature readings.
S=0
FOR I=1 TO 5
TGET T
S=S+T
DELAY 100
NEXT I
PRINT "AVERAGE"
PRINT S/5
