// Label numbers are truncated to integers; GOTO reads the number at its target without
// evaluating anything, so a letter reads as 0 and "1+1" as 1.
A=5
GOTO 2
PRINT 9
LABEL 2.7
PRINT 1
GOTO -1
PRINT 9
LABEL -1
PRINT 2
GOTO A
PRINT 9
LABEL 0
PRINT 3
GOTO 3.9
PRINT 9
LABEL 3
PRINT 4
GOTO 1+1
PRINT 9
LABEL 1
PRINT 5
GOTO 4294967302
PRINT 9
LABEL 6
PRINT 6
// expect: 1
// expect: 2
// expect: 3
// expect: 4
// expect: 5
// expect: 6
// finding: 4:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 8:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 11:5: GOTO needs a label number written in digits: GOTO A jumps to LABEL 0, whatever A holds.
// finding: 12:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 16:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 20:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
// finding: 24:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
