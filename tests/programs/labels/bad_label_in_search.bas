// The search checks every LABEL it passes, also in code that never runs; it still finds
// its target, but the run stops there.
GOTO 5
PRINT 1
LABEL X
LABEL 5
PRINT 2
// exit: 1
// expect: ERROR in line: 4
// expect: ERROR: Expected token 3, got 5
// stderr: Stop in line: 6
// finding: 3:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 4:6: LABEL needs a number here, not the variable X: a run stops here with an error. The form is LABEL 10.
