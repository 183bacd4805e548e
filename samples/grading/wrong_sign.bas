// A SUBMISSION FOR THE GRADING EXAMPLE (see the README)
// Lesson 5's detumbling loop with one mistake: the coils push with the change
// of the field instead of against it, so they speed the tumbling up. It passes
// the case "still", where nothing turns, and fails the case "turning".
K=20
MGET U,V,W
FOR I=1 TO 600
MGET X,Y,Z
// How much the field changed since the last look.
D=X-U
E=Y-V
F=Z-W
// Push with the change (the mistake).
COIL K*D,K*E,K*F
U=X
V=Y
W=Z
// Every 10 passes (once a second) report how fast the field turns.
IF I%10=0 THEN GOSUB 100
DELAY 100
NEXT I
COIL 0,0,0
PRINT "DETUMBLING DONE"
END
LABEL 100
SQRT D*D+E*E+F*F,R
PRINT "FIELD CHANGE PER LOOK"
PRINT R
RETURN
