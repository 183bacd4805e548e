// After a true condition an ELSE right after THEN is taken as the statement, and none
// begins with ELSE.
IF 2<1 THEN ELSE PRINT 1
IF 1<2 THEN ELSE PRINT 2
PRINT 3
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Unknown command
// finding: 2:7: Nothing stands between THEN and ELSE: when the condition holds, a run stops at ELSE with "Unknown command", and when it fails, the ELSE part is skipped as well. Turn the condition round and leave ELSE out: IF ... THEN followed by the ELSE part.
// finding: 3:7: Nothing stands between THEN and ELSE: when the condition holds, a run stops at ELSE with "Unknown command", and when it fails, the ELSE part is skipped as well. Turn the condition round and leave ELSE out: IF ... THEN followed by the ELSE part.
