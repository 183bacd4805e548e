// A run past its last statement stops on the last program line, not on trailing
// blank or comment lines or the data section.
// expect: 1
// stderr: Stop in line: 4
PRINT 1

// trailing comment
DATA
5
