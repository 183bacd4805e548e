// When the marker is the first program line, everything after it is data and nothing runs.
// stderr: Stop in line: 0
DATA
PRINT 1
12
