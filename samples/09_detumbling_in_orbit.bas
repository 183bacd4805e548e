// LESSON 9: DETUMBLING IN ORBIT
// Teaches: a control loop that flies a simulated satellite. It runs with the
// simulation on and the preset tumbling_1u (opened from File > Examples, the
// editor sets that up and arms its mission; with the runner: zorvant-run
// --sim tumbling_1u): a small satellite just out of its launcher, tumbling at
// about 8 degrees a second.
// The magnetometer now reads the Earth's field as the turning satellite sees
// it, and the coils pull on that field. Once a second the program looks at
// how far the field moved in the magnetometer and drives each coil against
// that change ("B-dot"): the pull then always works against the turning and
// brakes it. Every minute it prints how fast the satellite turns, as far as
// the magnetometer can tell: the field's change over its strength is the
// turn in radians. View > Telemetry shows the true rates in the chart
// "Attitude and orbit".
// A good gain: with K=7 the rate in the telemetry falls below 1 degree a
// second after about eight minutes and ends near 0.2, and the mission
// "Detumble within ten minutes" gives it full marks; so do gains from 6 to 9.
// A smaller gain brakes too slowly: K=3 still turns at 2.6 degrees a second
// after ten minutes. A larger one leaves more of the turning: K=12 keeps
// about 0.8. The printed turning follows the rate only roughly: the
// magnetometer reads whole microtesla, so at small rates it jumps about.
// Try: a far too large gain, such as K=500. The coils brake the turning
// across the field so hard that the satellite ends up spinning about the
// field's own direction. There the magnetometer sees the field stand still,
// and a coil, which can only pull across the field, cannot brake that spin:
// the printed turning looks small, but the rate in the telemetry stalls at
// about 2.4 degrees a second.
// Try: the wrong sign, COIL K*D,K*E,K*F. The coils push with the turning and
// the satellite spins up, to about 90 degrees a second.
K=7
MGET U,V,W
S=0
FOR I=1 TO 1200
DELAY 1000
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
// How far the field turned in that second, in radians, added up for the minute.
SQRT D*D+E*E+F*F,C
SQRT X*X+Y*Y+Z*Z,B
IF B>0 THEN S=S+C/B
IF I%60=0 THEN GOSUB 100
NEXT I
COIL 0,0,0
PRINT "DETUMBLING DONE"
END
LABEL 100
PRINT "MINUTE"
PRINT I/60
PRINT "TURNING, DEGREES PER SECOND"
PRINT S/60*57.3
S=0
RETURN
