// LESSON 5: DETUMBLING
// Teaches: a control loop. A tumbling satellite sees the Earth's magnetic
// field turn. The program reads the magnetometer again and again, and drives
// the coils against every change it sees. That brakes the tumbling.
// Try: run it and move the X slider under "Magnetic (Gauss):" quickly. The X
// coil under "Coils:" pushes back while the field changes, and relaxes when
// you hold the slider still. Try Y and Z too.
// Try: change the gain K. A bigger K pushes harder.
K=20
MGET U,V,W
FOR I=1 TO 600
MGET X,Y,Z
// How much the field changed since the last look.
D=X-U
E=Y-V
F=Z-W
// Push against the change. COIL keeps each value between -1 and 1 itself.
COIL -K*D,-K*E,-K*F
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
