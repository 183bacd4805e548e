// GOTO inside a subroutine does not touch the return stack: RETURN still goes back.
GOSUB 1
PRINT 3
END
LABEL 1
PRINT 1
GOTO 2
PRINT 9
LABEL 2
PRINT 2
RETURN
// expect: 1
// expect: 2
// expect: 3
// finding: 7:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
