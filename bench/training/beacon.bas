// A beacon: the DATA bytes sent bit by bit with TX, printing what goes out.
PEEK 2048,N
FOR R=1 TO 200
FOR K=1 TO N
PEEK 2048+K,B
PRINT "BYTE";B
FOR J=1 TO 8
S=1
IF B>127 THEN S=7
TX R%32,S
B=B*2&255
NEXT J
ROFF
RX Q
NEXT K
NEXT R
PRINT "DONE"
DATA
3
*.*.*.*.
**..**..
..****..
