// A program that runs past its last statement ends without a report; the stop line is
// the last program line, not a comment or blank line after it.
PRINT 1

PRINT 2

// expect: 1
// expect: 2
// stderr: Stop in line: 4
