// A subroutine that prints a line of stars.
GOSUB 100
PRINT "REPORT"
GOSUB 100
END
LABEL 100
PRINT "*****"
RETURN
