// A keyword ends the item list and is consumed; here that leaves an empty statement.
PRINT 1;THEN
PRINT 2
// expect: 1
// expect: ERROR in line: 1
// expect: ERROR: Unknown command
// exit: 1
// finding: 1:8: PRINT cannot print THEN: an item is a text in quotes or a calculation that starts with a variable, a number or "(". PRINT takes it for the end of the statement, and a run reads what follows as a new one. Put a ":" between two statements.
