// DELAY, whatever its value, never changes the order of statements.
// expect: 1
// expect: 2
// expect: 3
// expect: 4
// stderr: Stop in line: 11
PRINT 1
DELAY 1000
PRINT 2
DELAY 0: DELAY -500: PRINT 3
DELAY 1000.9: DELAY 2*250
PRINT 4
// finding: 10:6: DELAY counts whole milliseconds and drops a fraction: DELAY 1000.9 waits 1000 ms. For half a second write DELAY 500.
