// An assignment without "=" at the end of the text: three failed checks, the last one at
// the end, which is reported on the last program line.
B=4
PRINT B
B 6
// exit: 1
// expect: 4
// expect: ERROR in line: 4
// expect: ERROR: Expected token 34, got 3
// expect: ERROR in line: 4
// expect: ERROR: Expected token 5, got 35
// expect: ERROR in line: 4
// expect: ERROR: Expected token 35, got 2
// stderr: Stop in line: 4
// finding: 4:2: An assignment needs "=" here, not the number 6: a run stops here with an error.
