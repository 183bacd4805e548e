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
// finding: 13:7: EXP is not e to the power of x: like POW, it raises its first value to the power of its second and stores the result in the variable named last, as in EXP 2,10,A. For e to the power of X write EXP 2.718281828459,X,A. As it stands, a run stops here with an error.
