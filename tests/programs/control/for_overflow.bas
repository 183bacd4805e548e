// A fifth open loop overflows the loop stack; its variable keeps the start value.
FOR A=1 TO 1
FOR B=1 TO 1
FOR C=1 TO 1
FOR D=1 TO 1
PRINT 4
FOR E=7 TO 9:PRINT 5
// args: --vars
// exit: 1
// expect: 4
// expect: ERROR in line: 6
// expect: ERROR: FOR stack overflow
// expect: A: 1
// expect: B: 1
// expect: C: 1
// expect: D: 1
// expect: E: 7
// expect: F: 0
// expect: G: 0
// expect: H: 0
// expect: I: 0
// expect: J: 0
// expect: K: 0
// expect: L: 0
// expect: M: 0
// expect: N: 0
// expect: O: 0
// expect: P: 0
// expect: Q: 0
// expect: R: 0
// expect: S: 0
// expect: T: 0
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// finding: 1:0: FOR A has no NEXT A after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT A where the loop ends.
// finding: 2:0: FOR B has no NEXT B after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT B where the loop ends.
// finding: 3:0: FOR C has no NEXT C after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT C where the loop ends.
// finding: 4:0: FOR D has no NEXT D after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT D where the loop ends.
// finding: 6:0: FOR E has no NEXT E after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT E where the loop ends.
