// NEXT with no loop open gives -1 as the expected variable.
FOR J=1 TO 1:NEXT J
PRINT J
NEXT K
PRINT 3
// exit: 1
// expect: 2
// expect: ERROR in line: 3
// expect: ERROR: NEXT does not match. Expected -1, got 10
// stderr: Stop in line: 4
// finding: 3:0: NEXT K has no FOR K before it: a run stops here with "NEXT does not match". Open the loop first: FOR K=1 TO 10.
