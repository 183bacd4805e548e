// END ends the run without an error: nothing after it runs, and the stop line is
// the line of the END.
// expect: 1
// stderr: Stop in line: 5
PRINT 1
END: PRINT 2
PRINT 3
// finding: 5:5: This line never runs: the END before it stops the run, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
