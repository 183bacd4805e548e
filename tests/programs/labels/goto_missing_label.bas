// A label that is nowhere in the text: the search runs to the end, where both checks of
// the label statement fail; the end is reported on the last program line.
PRINT 1
GOTO 7
PRINT 2
LABEL 8
PRINT 3
// exit: 1
// expect: 1
// expect: ERROR in line: 6
// expect: ERROR: Expected token 1, got 2
// expect: ERROR in line: 6
// expect: ERROR: Expected token 3, got 2
// stderr: Stop in line: 6
// finding: 3:5: There is no LABEL 7: a run looks for it through the whole program and stops at the last line. Put LABEL 7 where the GOTO should go, or GOTO a label that exists.
