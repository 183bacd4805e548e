// ATTITUDE CONTROL DEMO
// Read the magnetometer, drive the coils against the field,
// report the temperature and send a status symbol on channel 5.
PRINT "ATTITUDE LOOP"
TX 5,7
FOR I=1 TO 200
MGET X,Y,Z
COIL 0-X,0-Y,0-Z
TGET T
// A hot satellite slows its CPU down.
SPEED 4
IF T>40 THEN SPEED 1
S=I%8
TX 5,S
DELAY 20
NEXT I
RX R
PRINT "DONE, RX:"
PRINT R
