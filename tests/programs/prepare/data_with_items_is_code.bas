// A line DATA 1,2 is not the marker: it stays a program line (a bad assignment to D).
// exit: 1
// expect: 1
// expect: ERROR in line: 9
// expect: ERROR: Expected token 34, got 5
// expect: ERROR in line: 9
// expect: ERROR: Expected token 35, got 5
// stderr: Stop in line: 9
PRINT 1
DATA 1,2
PRINT 2
// finding: 9:0: Only a line that reads exactly DATA starts the data section: with more on the line it is code, and a run stops here with an error. Put the items on the lines after a DATA line of its own.
