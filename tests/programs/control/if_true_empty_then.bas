// After a true condition an ELSE right after THEN is taken as the statement, and none
// begins with ELSE.
IF 2<1 THEN ELSE PRINT 1
IF 1<2 THEN ELSE PRINT 2
PRINT 3
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Unknown command
