// LESSON 7: RADIO BEACON
// Teaches: the DATA section, PEEK and TX. The lines after DATA hold the
// message: the first line is how many bytes follow, then one bit pattern per
// byte, where a star is a 1 and a dot a 0. PEEK 2048 reads the first byte.
// The beacon sends each bit on channel C: a bright line in the waterfall for
// a 1, a dim line for a 0, with a short pause between bytes.
// Try: watch the "SDR-Sim" waterfall while it runs.
// Try: change C to another channel from 0 to 31, or draw your own pattern.
// Try: move the slider under the waterfall to make it scroll faster.
// Note: no comments after DATA: digits there would become data too.
C=10
PEEK 2048,N
PRINT "BYTES IN THE MESSAGE"
PRINT N
FOR R=1 TO 3
PRINT "SENDING, ROUND"
PRINT R
FOR K=1 TO N
PEEK 2048+K,B
PRINT B
FOR J=1 TO 8
// The highest bit decides the symbol; then the next bit moves up.
S=1
IF B>127 THEN S=7
TX C,S
DELAY 250
B=B*2&255
NEXT J
ROFF
DELAY 500
NEXT K
NEXT R
PRINT "BEACON OFF"
DATA
4
*.*.*.*.
**..**..
..****..
*......*
