// A keyword ends the item list and is consumed; here that leaves an empty statement.
PRINT 1;THEN
PRINT 2
// expect: 1
// expect: ERROR in line: 1
// expect: ERROR: Unknown command
// exit: 1
