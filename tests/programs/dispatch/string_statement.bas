// A statement cannot begin with a number or a string.
PRINT 1
"TEXT"
// exit: 1
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
