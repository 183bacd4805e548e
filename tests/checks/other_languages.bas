// Words of other languages and misspelt keywords get what this one writes instead.
REM THE FIRST PROGRAM
INPUT A
PRNT "HI"
DIM X
WHILE A<10
A=SQRT(16)
FOR I=0 TO 10 STEP 2
NEXT I
IF A>1 AND B>2 THEN PRINT A
MGET X
POW 2,A
END IF
// finding: 1:0: Comments start with // at the start of a line, not with REM: a run stops here with an error. Write // instead of REM.
// finding: 2:0: There is no INPUT: a program reads the satellite's sensors with MGET, CGET, TGET and RX. A run stops here with an error.
// finding: 3:0: "PRNT" is not a word of the language: did you mean PRINT? As it stands, a run stops here with an error.
// finding: 4:0: There is no DIM: the variables are the letters A to Z, each ready without it, and POKE and PEEK keep a table of values. A run stops here with an error.
// finding: 5:0: There is no WHILE: loop with a LABEL and IF ... THEN GOTO back to it, or with FOR and NEXT. A run stops here with an error.
// finding: 6:2: SQRT is a statement, not a function: it stores its result in the variable named last. Write SQRT 16,A on a line of its own. A run stops here with an error.
// finding: 7:14: There is no STEP: a FOR loop counts up by 1. Count with a variable: FOR K=0 TO 5, and I=K*2 in the loop. A run stops here with an error.
// finding: 9:7: There is no AND: put one IF in the other, as in IF A>1 THEN IF B>2 THEN PRINT A. A run stops here with an error.
// finding: 10:5: MGET needs "," here, not the end of the line: a run stops here with an error. The form is MGET X,Y,Z.
// finding: 11:6: POW needs "," here, not the end of the line: a run stops here with an error. The form is POW X,Y,A.
// finding: 12:0: There is no END IF: END ends the program here. An IF holds one statement, on its own line: IF A>1 THEN PRINT A; for more lines, jump over them with IF ... THEN GOTO and the opposite condition.
