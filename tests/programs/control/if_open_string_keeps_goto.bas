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
