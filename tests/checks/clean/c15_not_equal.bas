// Not equal, written as two comparisons.
A=3
IF A<5 THEN PRINT "NOT FIVE"
IF A>5 THEN PRINT "NOT FIVE"
