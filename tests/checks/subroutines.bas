// A RETURN that a run can reach without a GOSUB.
GOSUB 10
PRINT "BACK"
LABEL 10
PRINT "IN THE SUBROUTINE"
RETURN
// finding: 5:0: A run also comes to this RETURN from the lines above, without a GOSUB, and stops here with "RETURN does not match": put END before LABEL 10, where the subroutine starts.
