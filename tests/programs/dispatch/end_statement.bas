// END stops the run at once, also in the middle of a line; the stop line is END's line.
PRINT 1
A=1:END:PRINT 2
PRINT 3
// expect: 1
// stderr: Stop in line: 2
