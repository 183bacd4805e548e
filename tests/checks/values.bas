// Numbers as written that a run does something else with: a division by 0, a loop that
// counts down, a coil, a speed, a channel or a symbol out of range, a part of a millisecond.
A=10/0
B=7%0.5
FOR I=10 TO 1
NEXT I
COIL 50,0,-2
SPEED 10
TX 40,3
TX 5,9
DELAY 0.5
C=0/2
FOR J=1 TO 1
NEXT J
COIL 1,-1,0.5
// finding: 2:4: Dividing by 0 is not possible: a run stops here with "Division by zero".
// finding: 3:3: % takes whole numbers, so %0.5 divides by 0: a run stops here with "Division by zero".
// finding: 4:0: FOR I=10 TO 1 runs its lines once: a loop only counts up, by 1, and the start is not compared with the limit. To count down, count up and work out the value: FOR K=1 TO 10, and I=10+1-K in the loop.
// finding: 6:5: A coil takes values from -1 to 1: 50 sets it to 1. Scale the value to that range.
// finding: 6:10: A coil takes values from -1 to 1: -2 sets it to -1. Scale the value to that range.
// finding: 7:6: SPEED shows 0 to 4: 10 shows 4.
// finding: 8:3: TX sends on channels 0 to 31: channel 40 sends on channel 0, not the nearest one.
// finding: 9:5: A symbol is 0 to 7: 9 sends 7.
// finding: 10:6: DELAY counts whole milliseconds and drops a fraction: DELAY 0.5 waits 0 ms. For half a second write DELAY 500.
