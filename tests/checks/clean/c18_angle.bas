// The angle of the field in the x-y plane.
MGET X,Y,Z
TPATAN Y,X,W
PRINT "ANGLE"
PRINT W
