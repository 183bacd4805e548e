// LESSON 8: CHANNEL SWEEP
// Teaches: TX on changing channels draws patterns in the "SDR-Sim"
// waterfall. Channel 0 is at the left edge, channel 31 at the right.
// The symbol (0 to 7) sets how bright the line is.
// Before each step the program listens with RX: while the band is busy it
// waits. RX also switches the transmitter off, so the next TX starts it again.
// Try: move R under "RX signal strength:" above 200 while the sweep runs:
// the sweep stops and waits until you move it back.
// Try: change the DELAY to make the slant steeper or flatter.
FOR R=1 TO 3
PRINT "SWEEP UP"
FOR C=0 TO 31
GOSUB 100
S=C%8
TX C,S
DELAY 80
NEXT C
PRINT "SWEEP DOWN"
FOR D=0 TO 31
C=31-D
GOSUB 100
TX C,7
DELAY 80
NEXT D
NEXT R
ROFF
PRINT "SWEEP DONE"
END
// Subroutine 100: wait while the band is busy.
LABEL 100
RX Q
IF Q<201 THEN RETURN
PRINT "BAND BUSY, WAITING"
LABEL 110
DELAY 200
RX Q
IF Q>200 THEN GOTO 110
PRINT "BAND FREE"
RETURN
