// END ends the run without an error: nothing after it runs, and the stop line is
// the line of the END.
// expect: 1
// stderr: Stop in line: 5
PRINT 1
END: PRINT 2
PRINT 3
