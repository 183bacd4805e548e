// EXP with one argument: the comma after the second expression is missing, and the
// checks that follow run into the end of the text.
// exit: 1
// expect: 1
// expect: ERROR in line: 13
// expect: ERROR: Expected token 20, got 35
// expect: ERROR in line: 13
// expect: ERROR: Expected token 5, got 2
// expect: ERROR in line: 13
// expect: ERROR: Expected token 35, got 2
// stderr: Stop in line: 13
A=5
PRINT 1
EXP 2, A
// finding: 13:7: EXP needs "," here, not the end of the line: a run stops here with an error.
