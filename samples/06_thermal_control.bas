// LESSON 6: THERMAL CONTROL
// Teaches: a thermostat. The program reads the temperature and sets the CPU
// speed: a hot satellite runs its computer slower so it makes less heat.
// It only prints when the speed changes.
// Try: move T under "Temperature:" up and down and watch the bar under
// "CPU Speed:". Above 30 the speed drops to 3, above 45 to 2, above 60 to 1,
// and above 75 the computer almost stops (0).
// Try: change the limits so the computer slows down earlier.
L=-1
FOR I=1 TO 300
TGET T
S=4
IF T>30 THEN S=3
IF T>45 THEN S=2
IF T>60 THEN S=1
IF T>75 THEN S=0
SPEED S
IF S=L THEN GOTO 20
PRINT "TEMPERATURE"
PRINT T
PRINT "CPU SPEED SET TO"
PRINT S
L=S
LABEL 20
DELAY 200
NEXT I
PRINT "THERMAL CONTROL ENDS"
