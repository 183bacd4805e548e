// Every line already ends in ":", so a line typed with its own ":" at the end holds an
// empty statement after it.
PRINT 1:
PRINT 2
// exit: 1
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Unknown command
// finding: 2:7: A ":" at the end of a line leaves an empty statement behind it, and a run stops there with "Unknown command": remove the ":".
