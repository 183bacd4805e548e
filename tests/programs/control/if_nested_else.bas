// A false condition skips to the first ELSE after THEN, whichever IF it belongs to.
A=5
IF A<1 THEN IF B<1 THEN P=1 ELSE P=2
PRINT P
A=0:B=5
IF A<1 THEN IF B<1 THEN PRINT 3 ELSE PRINT 4
A=0:B=0
IF A<1 THEN IF B<1 THEN PRINT 5 ELSE PRINT 6
// expect: 2
// expect: 4
// expect: 5
// expect: 6
