// The fifth FOR ends its line; the overflow names that line, not the next one.
FOR A=1 TO 1
FOR B=1 TO 1
FOR C=1 TO 1
FOR D=1 TO 1
FOR E=1 TO 1
PRINT 5
// exit: 1
// expect: ERROR in line: 5
// expect: ERROR: FOR stack overflow
// finding: 1:0: FOR A has no NEXT A after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT A where the loop ends.
// finding: 2:0: FOR B has no NEXT B after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT B where the loop ends.
// finding: 3:0: FOR C has no NEXT C after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT C where the loop ends.
// finding: 4:0: FOR D has no NEXT D after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT D where the loop ends.
// finding: 5:0: FOR E has no NEXT E after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT E where the loop ends.
