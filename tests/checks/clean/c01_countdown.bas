// Counts down from 10 with a loop that counts up.
FOR K=0 TO 9
N=10-K
PRINT N
NEXT K
PRINT "LIFT OFF"
