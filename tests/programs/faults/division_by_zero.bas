// Division by zero ends the statement at once: the items before it are printed, the rest not.
PRINT 1,1/0,2
PRINT 3
// exit: 1
// expect: 1
// expect: ERROR in line: 1
// expect: ERROR: Division by zero
// stderr: Stop in line: 1
// finding: 1:9: Dividing by 0 is not possible: a run stops here with "Division by zero".
