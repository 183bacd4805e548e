// Sends a beacon on channel 12, symbol 3, then stops sending.
TX 12,3
DELAY 1000
ROFF
PRINT "SENT"
