// Both conditions: one IF inside the other.
A=3
B=7
IF A>1 THEN IF B>5 THEN PRINT "BOTH"
