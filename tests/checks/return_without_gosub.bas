// No GOSUB at all: the RETURN ends nothing.
PRINT "DONE"
RETURN
// finding: 2:0: No GOSUB leads to this RETURN: a run that gets here stops with "RETURN does not match". RETURN ends a subroutine that GOSUB called; to end the program, write END.
