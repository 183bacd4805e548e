// Indented lines keep their leading spaces and run; an indented first line runs too,
// and a label search from the start of the program skips its spaces.
// expect: 1
// expect: 3
// expect: 4
// stderr: Stop in line: 10
   PRINT 1
  GOTO 9
PRINT 2
    LABEL 9: PRINT 3
  PRINT 4
// finding: 8:0: This line never runs: the GOTO before it always jumps away, and no GOTO or GOSUB leads here. Remove it, or put a LABEL before it that a jump goes to.
