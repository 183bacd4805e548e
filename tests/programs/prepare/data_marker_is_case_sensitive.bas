// Only an upper-case DATA line starts the data section; a lower-case one is a program line.
// exit: 1
// expect: 1
// expect: ERROR in line: 7
// expect: ERROR: Unknown command
// stderr: Stop in line: 7
PRINT 1
data
5
