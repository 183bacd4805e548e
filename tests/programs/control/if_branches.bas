// IF runs or skips exactly one statement; what follows the ":" runs either way.
IF 2<1 THEN PRINT 1:PRINT 2
IF 1<2 THEN PRINT 3:PRINT 4
IF 2<1 THEN PRINT 5 ELSE PRINT 6
IF 1<2 THEN PRINT 7 ELSE PRINT 8
IF 2<1 THEN ELSE PRINT 9
IF 2<1 THEN PRINT 1/0
IF 2<1 THEN PRINT "ELSE" ELSE PRINT 10
IF 2<1 THEN PRINT "A:B" ELSE PRINT 11
A=5
IF A<B THEN C=1:D=2
PRINT C
PRINT D
IF 2<1 THEN GOTO 99 ELSE PRINT 12:PRINT 13
IF1<2THENPRINT14ELSEPRINT15
// expect: 2
// expect: 3
// expect: 4
// expect: 6
// expect: 7
// expect: 8
// expect: 10
// expect: 11
// expect: 0
// expect: 2
// expect: 12
// expect: 13
// expect: 14
// expect: 15
// finding: 1:20: Only PRINT 1 belongs to the IF: what follows the ":" runs whether the condition holds or not. Put it on a line of its own, or jump over the lines that depend on the condition: IF ... THEN GOTO with the opposite condition.
// finding: 2:20: Only PRINT 3 belongs to the IF: what follows the ":" runs whether the condition holds or not. Put it on a line of its own, or jump over the lines that depend on the condition: IF ... THEN GOTO with the opposite condition.
// finding: 3:20: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF 2<1 THEN GOTO ... ELSE ...
// finding: 4:20: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF 1<2 THEN GOTO ... ELSE ...
// finding: 5:7: Nothing stands between THEN and ELSE: when the condition holds, a run stops at ELSE with "Unknown command", and when it fails, the ELSE part is skipped as well. Turn the condition round and leave ELSE out: IF ... THEN followed by the ELSE part.
// finding: 6:19: Dividing by 0 is not possible: a run stops here with "Division by zero".
// finding: 7:25: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF 2<1 THEN GOTO ... ELSE ...
// finding: 8:24: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF 2<1 THEN GOTO ... ELSE ...
// finding: 10:16: Only C=1 belongs to the IF: what follows the ":" runs whether the condition holds or not. Put it on a line of its own, or jump over the lines that depend on the condition: IF ... THEN GOTO with the opposite condition.
// finding: 13:17: There is no LABEL 99: a run looks for it through the whole program and stops at the last line. Put LABEL 99 where the GOTO should go, or GOTO a label that exists.
// finding: 14:16: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF 1<2 THEN GOTO ... ELSE ...
