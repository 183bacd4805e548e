// Conditions that do not test what they seem to, and the one statement THEN owns.
IF A THEN PRINT "NEVER"
IF 1<A<3 THEN PRINT "CHAIN"
IF (A<3) THEN PRINT "BRACKETS"
IF A>10 THEN PRINT "BIG":PRINT "REALLY BIG"
IF A>10 THEN GOTO 5:PRINT "ONLY WHEN NOT"
LABEL 5
IF A>10 THEN PRINT "BIG"
// finding: 1:3: A condition without <, > or = is always false: IF A THEN never runs what follows THEN. Compare it with something: IF A>0 THEN or IF A=1 THEN.
// finding: 2:3: Only the last comparison of a chain counts: each one compares the first value, so A<B<C compares A with C. Put one comparison in each IF: IF A<B THEN IF B<C THEN ...
// finding: 3:5: A comparison cannot stand inside brackets, and a run stops here with an error: only calculations can. Write the condition without them: IF A<B THEN ...
// finding: 4:25: Only PRINT "BIG" belongs to the IF: what follows the ":" runs whether the condition holds or not. Put it on a line of its own, or jump over the lines that depend on the condition: IF ... THEN GOTO with the opposite condition.
