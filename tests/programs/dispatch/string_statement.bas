// A statement cannot begin with a number or a string.
PRINT 1
"TEXT"
// exit: 1
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// finding: 2:0: A text cannot stand on its own: a run stops here with "Unknown command". Print it: PRINT "TEXT".
