// Sets the coils against the field, scaled to -1 .. 1.
MGET X,Y,Z
COIL 0-X/100,0-Y/100,0-Z/100
DELAY 100
COIL 0,0,0
