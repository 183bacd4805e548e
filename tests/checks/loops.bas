// FOR and NEXT: each loop needs its NEXT, and inner loops close first.
FOR I=1 TO 3
FOR J=1 TO 3
NEXT I
NEXT K
FOR K=1 TO 5
IF K=2 THEN NEXT K
PRINT K
NEXT K
FOR L=1 TO 2
IF L=1 THEN NEXT L
FOR M=1 TO 2
// finding: 3:0: NEXT I comes while the loop FOR J of line 2 is still open: a run stops here with "NEXT does not match". Close the inner loop first: NEXT J before NEXT I.
// finding: 4:0: NEXT K has no FOR K before it: a run stops here with "NEXT does not match". Open the loop first: FOR K=1 TO 10.
// finding: 11:0: FOR M has no NEXT M after it: the lines after it run once, and the loop stays open (a fifth open loop stops a run). Put NEXT M where the loop ends.
