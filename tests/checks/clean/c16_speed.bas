// Shows the four speeds on the bar, one per second.
FOR S=1 TO 4
SPEED S
DELAY 1000
NEXT S
SPEED 0
