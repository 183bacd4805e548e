// A label that has to be searched for is the first of that number in the text; labels
// passed on the way are not recorded.
GOTO 9
LABEL 5
PRINT 1
END
LABEL 5
PRINT 2
END
LABEL 9
GOTO 5
// expect: 1
// stderr: Stop in line: 5
// finding: 6:0: LABEL 5 is on line 3 already: a jump goes to the one a run passed first, or else to the first in the text. Give each label its own number.
