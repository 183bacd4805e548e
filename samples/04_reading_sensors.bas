// LESSON 4: READING THE SENSORS
// Teaches: MGET, CGET, TGET, RX and PGET read the sliders of the
// "Peripherals Simulation" panel into variables; DELAY waits between readings.
// Try: move the sliders X, Y and Z under "Magnetic (Gauss):" and watch the
// field strength change.
// Try: push R under "Color Sensor:" past 50, and T under "Temperature:"
// above 40 or below 0.
// Try: move R under "RX signal strength:".
PGET P
PRINT "SYSTEM POWER IN PER CENT"
PRINT P
FOR I=1 TO 30
MGET X,Y,Z
SQRT X*X+Y*Y+Z*Z,F
CGET R,G,B
TGET T
RX S
PRINT "---- READING"
PRINT I
PRINT "FIELD STRENGTH (GAUSS)"
PRINT F
PRINT "COLOUR RED, GREEN, BLUE"
PRINT R;G;B
IF R>50 THEN PRINT "MOSTLY RED LIGHT"
PRINT "TEMPERATURE"
PRINT T
IF T>40 THEN PRINT "HOT!"
IF T<0 THEN PRINT "FREEZING!"
PRINT "SIGNAL STRENGTH"
PRINT S
DELAY 1000
NEXT I
PRINT "DONE"
