// Lines that no run can reach: after END, GOTO, RETURN or an IF that jumps either way,
// with no jump leading to them.
GOSUB 10
GOTO 5
PRINT "AFTER GOTO":PRINT "STILL"
LABEL 5
IF A>1 THEN GOTO 6 ELSE GOTO 6
PRINT "AFTER IF"
LABEL 6
END
PRINT "AFTER END"
LABEL 10
PRINT "SUBROUTINE"
RETURN
LABEL 99
PRINT "NOBODY JUMPS HERE"
END
LABEL 98
// finding: 4:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 7:0: This line never runs: the IF before it jumps away whichever way it goes, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 10:0: This line never runs: the END before it stops the run, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 14:0: No GOTO or GOSUB that runs jumps to LABEL 99, and the RETURN before it always goes back to its GOSUB: the lines from here never run. Jump to the label, or remove these lines.
