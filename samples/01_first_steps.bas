// LESSON 1: FIRST STEPS
// Teaches: PRINT, the variables A to Z, sums, and a first loop with FOR and NEXT.
// Every PRINT item goes on a line of its own in the output pane.
// Try: change the numbers in A and B and press RUN again.
// Try: watch the variable panel. Press RUN a few times: C counts your runs,
// because variables keep their values from one run to the next.
PRINT "HELLO, SATELLITE!"
A=7
B=5
PRINT "A PLUS B IS"
PRINT A+B
PRINT "A TIMES B IS"
PRINT A*B
PRINT "A DIVIDED BY B IS"
PRINT A/B
PRINT "THE REMAINDER OF A DIVIDED BY B IS"
PRINT A%B
// C is never set to 0 here, so it grows by one with every RUN.
C=C+1
PRINT "THIS IS RUN NUMBER"
PRINT C
// A loop: the lines between FOR and NEXT run once for each I from 1 to 5.
PRINT "SQUARES FROM 1 TO 5"
FOR I=1 TO 5
PRINT I*I
NEXT I
PRINT "DONE"
