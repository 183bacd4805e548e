// A GOTO from inside a loop back above its FOR, a subroutine with no RETURN, and loops
// matched only where a run goes: one finding for each fault.
LABEL 1
FOR I=1 TO 3
IF I=2 THEN GOTO 1
NEXT I
GOSUB 5
FOR J=1 TO 2
FOR K=1 TO 2
NEXT
NEXT J
FOR L=1 TO 2 STEP 1
NEXT L
END
FOR M=1 TO 2
NEXT M
LABEL 5
PRINT "NO WAY BACK"
END
// finding: 4:12: GOTO 1 jumps out of the loop FOR I of line 3 to a line above it: the loop stays open, each pass opens one more, and the fifth open FOR stops the run. Let the loop end at NEXT I first, or jump forward past it.
// finding: 6:0: GOSUB 5 enters lines that never come to a RETURN: the run never comes back here. End the subroutine with RETURN.
// finding: 9:0: NEXT needs a variable (one letter from A to Z) here, not the end of the line: a run stops here with an error. The form is NEXT I.
// finding: 11:13: There is no STEP: a FOR loop counts up by 1. Count with a variable: FOR K=0 TO 5, and I=K*2 in the loop. A run stops here with an error.
// finding: 14:0: This line never runs: the END before it stops the run, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
