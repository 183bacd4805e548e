// An open string after THEN ends at its own line: the GOTO on the next line is never taken
// into the text. The run stops at the open string, on its line.
IF 1<2 THEN PRINT "OK
GOTO 9
PRINT "NOT JUMPED"
LABEL 9
PRINT "DONE"
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// stderr: Stop in line: 2
// finding: 2:18: This text has no closing quote on its line: end it with " before the end of the line. A text cannot go on over the next line, and a run stops here with an error.
// finding: 4:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
