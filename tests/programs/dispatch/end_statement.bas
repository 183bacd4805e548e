// END stops the run at once, also in the middle of a line; the stop line is END's line.
PRINT 1
A=1:END:PRINT 2
PRINT 3
// expect: 1
// stderr: Stop in line: 2
// finding: 2:8: This line never runs: the END before it stops the run, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
