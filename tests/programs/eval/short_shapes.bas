// The short expressions (one operand, or two with one operator) read alike every time round,
// and a fault in one names the statement it stops.
B=7
FOR I=1 TO 2
A=-B
PRINT A,B-1,B 5,1-B,B%3,B/2,B&3,B|8,B*B,B+2*3,(B)
IF B>6 THEN PRINT B
IF B<6 THEN PRINT 0
NEXT I
C=0
PRINT B/C
// exit: 1
// expect: -7
// expect: 6
// expect: 12
// expect: -6
// expect: 1
// expect: 3.5
// expect: 3
// expect: 15
// expect: 49
// expect: 13
// expect: 7
// expect: 7
// expect: -7
// expect: 6
// expect: 12
// expect: -6
// expect: 1
// expect: 3.5
// expect: 3
// expect: 15
// expect: 49
// expect: 13
// expect: 7
// expect: 7
// expect: ERROR in line: 10
// expect: ERROR: Division by zero
// stderr: Stop in line: 10
