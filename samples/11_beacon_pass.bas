// LESSON 11: A BEACON FOR THE PASS
// Teaches: using a radio link only while it is there. It runs with the
// simulation on and the preset ground_pass (opened from File > Examples, the
// editor sets that up and arms its mission; with the runner: zorvant-run
// --sim ground_pass): the satellite
// rises over the school's ground station about 40 seconds after RUN, passes
// straight overhead after a minute and sets about 80 seconds after RUN. RX
// reads the station's signal: 0 while the station cannot see the satellite,
// about 85 just above the horizon, 255 straight overhead.
// Twice a second the program listens; while it hears the station it sends
// its call sign, a byte at a time, on channel C. In the waterfall the trace
// shows only while the station sees the satellite, and it drifts with the
// Doppler shift: the station hears a higher frequency while the satellite
// comes closer and a lower one while it moves away, by up to about 10 kHz
// near the horizon. So the trace starts about ten columns right of its
// channel's place, crosses it straight overhead and ends about ten columns
// left of it.
// Note: RX also ends a transmission, so each look comes between two bytes.
// Try: print R on every look and watch the signal rise and fall.
// Try: send only while R is above 150, when the link is strong.
// Try: C=31, then C=0. The waterfall ends at the edges of the band, and the
// Doppler shift carries a trace near an edge beyond it: on channel 31 the
// trace stays outside the picture until the satellite is nearly overhead,
// on channel 0 it leaves soon after, though the station hears it all along.
// Your task for the mission "Beacon during the pass": print PASS OVER, not
// STATION LOST, once the station is gone.
// Note: no comments after DATA: digits there would become data too.
C=10
PEEK 2048,N
K=1
H=0
M=0
FOR I=1 TO 240
RX R
IF R>M THEN M=R
IF R>0 THEN GOTO 20
IF H=1 THEN PRINT "STATION LOST"
H=0
DELAY 500
GOTO 30
LABEL 20
IF H=0 THEN GOSUB 100
H=1
// One byte of the call sign, bit by bit; the next byte the next time.
PEEK 2048+K,B
FOR J=1 TO 8
S=1
IF B>127 THEN S=7
TX C,S
DELAY 60
B=B*2&255
NEXT J
K=K+1
IF K>N THEN K=1
LABEL 30
NEXT I
ROFF
PRINT "BEACON OFF, STRONGEST SIGNAL"
PRINT M
END
LABEL 100
PRINT "STATION IN VIEW, SIGNAL"
PRINT R
RETURN
DATA
3
90
86
49
