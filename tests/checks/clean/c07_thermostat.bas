// Heating on below 20 degrees, off above, checked ten times.
FOR I=1 TO 10
TGET T
IF T<20 THEN PRINT "HEAT ON"
IF T>19 THEN PRINT "HEAT OFF"
DELAY 500
NEXT I
