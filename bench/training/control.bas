// A controller loop: read the sensors, set the coils and the speed, wait, report now and then.
K=15
MGET U,V,W
FOR I=1 TO 20000
MGET X,Y,Z
TGET T
COIL -K*(X-U),-K*(Y-V),-K*(Z-W)
U=X
V=Y
W=Z
IF T>30 THEN SPEED 20 ELSE SPEED 100
IF I%1000=0 THEN GOSUB 100
DELAY 10
NEXT I
COIL 0,0,0
END
LABEL 100
CGET R,G,B
PRINT "STATUS"
PRINT I
PRINT R+G+B
RETURN
