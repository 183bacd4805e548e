// A // after code is not a comment: the line runs whole, so here the first slash divides
// 1 by the second slash, which is no operand.
// exit: 1
// expect: ERROR in line: 8
// expect: ERROR: Expected token 5, got 27
// expect: ERROR in line: 8
// expect: ERROR: Division by zero
// stderr: Stop in line: 8
PRINT 1 // note
PRINT 2
// finding: 8:8: "//" starts a comment only at the start of a line: after code it is two division signs, and a run stops here with an error. Put the comment on a line of its own.
