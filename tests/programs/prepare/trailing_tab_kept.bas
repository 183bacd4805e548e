// Program lines are kept as typed: a trailing tab stays in the line, and a tab is not
// a blank to the scanner.
// exit: 1
// expect: 5
// expect: ERROR in line: 7
// expect: ERROR: Unknown command
// stderr: Stop in line: 7
PRINT 5	
PRINT 6
// finding: 7:7: A tab is not a space in this language, and a run stops here with an error: use spaces instead.
