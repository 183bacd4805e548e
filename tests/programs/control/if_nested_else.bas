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
// finding: 2:28: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Set the other value first, on a line of its own, then change it: P=2, then IF B<1 THEN P=1.
// finding: 5:32: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF B<1 THEN GOTO ... ELSE ...
// finding: 7:32: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF B<1 THEN GOTO ... ELSE ...
