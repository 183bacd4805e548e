// Reads the magnetometer once and prints its three axes.
MGET X,Y,Z
PRINT "FIELD"
PRINT X
PRINT Y
PRINT Z
