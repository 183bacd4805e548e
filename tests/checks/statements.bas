// Statements a run stops at, with what to write instead.
LET A=1
AB=2
10 PRINT A
A=1::B=2
PRINT 1:
ELSE PRINT 2
CALL 5
SQRT 16
PRINT -A
A=B*-C
"TEXT"
TOTAL=5
PRINT 1;THEN
FOR I=1 2
NEXT I
A=(B+1
A=1 B=2
EXP 1,A
// finding: 1:0: There is no LET in this language: write A=1 without it. A run stops here with an error.
// finding: 2:0: "AB" is no variable: a variable is a single letter from A to Z, and a run stops here with an error. Use one letter.
// finding: 3:0: Lines have no numbers in this language: a run stops here with "Unknown command". Remove 10; to jump here, put LABEL 10 on the line before and write GOTO 10.
// finding: 4:4: An empty statement: two ":" in a row, or one at the start of a line, stop a run with "Unknown command". Remove the extra ":".
// finding: 5:7: A ":" at the end of a line leaves an empty statement behind it, and a run stops there with "Unknown command": remove the ":".
// finding: 6:0: ELSE must stand on the line of its IF, behind the statement after THEN: IF A=1 THEN GOTO 10 ELSE GOTO 20. Here a run stops with "Unknown command".
// finding: 7:0: CALL is a word of the language, but there is no CALL statement: a run stops here with "Unknown command". Call a subroutine with GOSUB.
// finding: 8:5: SQRT needs "," here, not the end of the line: a run stops here with an error. The form is SQRT X,A.
// finding: 9:6: A PRINT item cannot start with a minus sign: PRINT stops at it, and a run then stops with an error. Write PRINT 0-A.
// finding: 10:4: A minus sign can start a calculation or stand right before a digit, but not follow another sign: A*-B does not work. Write A*(0-B).
// finding: 11:0: A text cannot stand on its own: a run stops here with "Unknown command". Print it: PRINT "TEXT".
// finding: 12:0: TO cannot start a statement, and a run stops here with "Unknown command": a statement starts with a word such as PRINT or FOR, or with a variable letter, as in A=5. Words need no space after them, so a name that begins with TO is read as that word; variables are single letters.
// finding: 13:8: PRINT cannot print THEN: an item is a text in quotes or a calculation that starts with a variable, a number or "(". PRINT takes it for the end of the statement, and a run reads what follows as a new one. Put a ":" between two statements.
// finding: 14:8: FOR needs TO here, not the end of the line: a run stops here with an error. The form is FOR I=1 TO 10.
// finding: 16:5: An assignment needs ")" here, not the end of the line: a run stops here with an error.
// finding: 17:4: An assignment needs the end of the statement here, not the variable B: a run stops here with an error. Two statements need a ":" between them.
// finding: 18:6: EXP is not e to the power of x: like POW, it raises its first value to the power of its second and stores the result in the variable named last, as in EXP 2,10,A. For e to the power of X write EXP 2.718281828459,X,A. As it stands, a run stops here with an error.
