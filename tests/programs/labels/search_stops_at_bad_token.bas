// The label search cannot step over an invalid token (here a string without its closing
// quote): it ends there as at the end of the text.
PRINT 1
GOTO 4
PRINT 2
PRINT "OPEN
LABEL 4
PRINT 3
// exit: 1
// expect: 1
// expect: ERROR in line: 5
// expect: ERROR: Expected token 1, got 0
// expect: ERROR in line: 5
// expect: ERROR: Expected token 3, got 0
// stderr: Stop in line: 5
// finding: 4:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 5:6: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
