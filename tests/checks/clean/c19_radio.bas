// Listens to the radio five times.
FOR I=1 TO 5
RX R
PRINT R
DELAY 200
NEXT I
