// GOSUB returns to the statement after it, on the same line or the next; subroutines nest.
GOSUB 100:PRINT 2:GOSUB 200
PRINT 4
END
LABEL 100:PRINT 1:RETURN
LABEL 200
GOSUB 100
PRINT 3
RETURN
// expect: 1
// expect: 2
// expect: 1
// expect: 3
// expect: 4
// stderr: Stop in line: 3
