// FOR counts up by 1, runs the body at least once, and ends when the variable passes the limit.
FOR I=1 TO 3:PRINT I:NEXT I
PRINT I
FOR I=5 TO 1:PRINT I:NEXT I
PRINT I
FOR I=0.5 TO 2:PRINT I:NEXT I
PRINT I
FOR I=1 TO 2.5
PRINT I
NEXT I
FOR I=-2 TO 0:PRINT I:NEXT I
FOR I=3 TO 3:PRINT I:NEXT I
PRINT I
// expect: 1
// expect: 2
// expect: 3
// expect: 4
// expect: 5
// expect: 6
// expect: 0.5
// expect: 1.5
// expect: 2.5
// expect: 1
// expect: 2
// expect: -2
// expect: -1
// expect: 0
// expect: 3
// expect: 4
// finding: 3:0: FOR I=5 TO 1 runs its lines once: a loop only counts up, by 1, and the start is not compared with the limit. To count down, count up and work out the value: FOR K=1 TO 5, and I=5+1-K in the loop.
