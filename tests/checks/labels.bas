// Jumps to labels that no LABEL defines, and labels defined twice.
GOTO 50
LABEL 1
GOSUB 60
PRINT "LABEL 70"
GOTO 70
GOTO A
LABEL 1
IF A>1 THEN GOTO 1 ELSE GOSUB 1
// finding: 1:5: There is no LABEL 50: a run looks for it through the whole program and stops at the last line. Put LABEL 50 where the GOTO should go, or GOTO a label that exists.
// finding: 3:6: There is no LABEL 60: a run looks for it through the whole program and stops at the last line. Put LABEL 60 where the GOSUB should go, or GOSUB a label that exists.
// finding: 5:5: There is no LABEL 70: a run looks for it through the whole program and stops at the last line. Put LABEL 70 where the GOTO should go, or GOTO a label that exists.
// finding: 6:5: GOTO needs a label number written in digits: GOTO A jumps to LABEL 0, whatever A holds, and there is no LABEL 0.
// finding: 7:0: LABEL 1 is on line 2 already: a jump goes to the one a run passed first, or else to the first in the text. Give each label its own number.
// finding: 8:24: GOSUB 1 enters lines that never come to a RETURN: the run never comes back here. End the subroutine with RETURN.
