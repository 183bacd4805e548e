// NEXT must name the innermost loop's variable; an outer one is a mismatch.
FOR I=1 TO 2:FOR J=1 TO 2:NEXT I
PRINT 1
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: NEXT does not match. Expected 9, got 8
// finding: 1:26: NEXT I comes while the loop FOR J of line 1 is still open: a run stops here with "NEXT does not match". Close the inner loop first: NEXT J before NEXT I.
