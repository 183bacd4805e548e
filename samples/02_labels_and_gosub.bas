// LESSON 2: LABELS, GOTO AND GOSUB
// Teaches: marking places with LABEL, jumping with GOTO, decisions with IF,
// and subroutines with GOSUB and RETURN.
// Try: change the 10 in "IF N<10" and run again.
// Try: delete the END line and run: the program falls into the subroutine
// and RETURN has no GOSUB to go back to.
N=0
// The main loop: count N up, and let the subroutine describe each number.
LABEL 10
N=N+1
GOSUB 100
IF N<10 THEN GOTO 10
PRINT "COUNTED TO"
PRINT N
END
// Subroutine 100: print N and whether it is even or odd.
LABEL 100
PRINT N
// GOTO works before ELSE; an assignment there would not.
IF N%2=0 THEN GOTO 110 ELSE GOTO 120
LABEL 110
PRINT "IS EVEN"
RETURN
LABEL 120
PRINT "IS ODD"
RETURN
