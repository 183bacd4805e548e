// The first position recorded for a label number stays for the run: here the second
// LABEL 5 in the text is executed first, so every later jump to 5 goes there, even after
// the first LABEL 5 has been executed too.
GOTO 1
LABEL 6
LABEL 5
PRINT 1
B=B+1
IF B<2 THEN GOTO 5
END
LABEL 1
LABEL 5
PRINT 2
A=A+1
IF A<2 THEN GOTO 5
GOTO 6
// expect: 2
// expect: 2
// expect: 1
// expect: 2
// expect: 1
// stderr: Stop in line: 9
// finding: 11:0: LABEL 5 is on line 5 already: a jump goes to the one a run passed first, or else to the first in the text. Give each label its own number.
