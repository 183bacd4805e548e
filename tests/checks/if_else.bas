// IF ... THEN statement ELSE statement: only GOTO, RETURN and END leave before ELSE.
S=400
IF S>300 THEN PRINT "BIG" ELSE PRINT "SMALL"
IF A=1 THEN B=1 ELSE B=2
IF A=1 THEN GOSUB 10 ELSE PRINT "NO"
IF A=1 THEN POKE 1,2 ELSE PRINT "NO"
IF A=1 THEN END ELSE PRINT "GOES ON"
IF A=1 THEN GOTO 20 ELSE
IF A=1 THEN IF B=1 THEN C=1 ELSE C=2
IF A=1 THEN ELSE PRINT "NEVER"
IF A=1 THEN
PRINT "SKIPPED WHEN A IS NOT 1"
IF A=1 THEN GOTO 20 ELSE GOTO 20
LABEL 10
IF A=1 THEN RETURN ELSE PRINT "BACK"
RETURN
LABEL 20
// finding: 2:26: When the condition holds, PRINT takes this ELSE for its end and the ELSE part runs as well: both print. Only GOTO, RETURN and END can stand before ELSE. Give the ELSE part an IF of its own with the opposite condition, or jump: IF S>300 THEN GOTO ... ELSE ...
// finding: 3:16: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Set the other value first, on a line of its own, then change it: B=2, then IF A=1 THEN B=1.
// finding: 4:21: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Jump instead: IF A=1 THEN GOTO ... ELSE ..., or give each part an IF of its own.
// finding: 5:21: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Jump instead: IF A=1 THEN GOTO ... ELSE ..., or give each part an IF of its own.
// finding: 7:20: Nothing follows ELSE: when the condition fails, a run stops here with "Unknown command". Put the statement for that case behind ELSE, or leave ELSE out.
// finding: 8:28: When the condition holds, the statement after THEN must end before ELSE can come: a run stops at this ELSE with an error. Only GOTO, RETURN and END can stand before ELSE. Set the other value first, on a line of its own, then change it: C=2, then IF B=1 THEN C=1.
// finding: 9:7: Nothing stands between THEN and ELSE: when the condition holds, a run stops at ELSE with "Unknown command", and when it fails, the ELSE part is skipped as well. Turn the condition round and leave ELSE out: IF ... THEN followed by the ELSE part.
// finding: 10:7: Nothing follows THEN: when the condition holds, a run stops here with "Unknown command", and when it fails, the statement on the next line is skipped as well. Put the statement on the line of the IF: IF A=1 THEN PRINT ...
