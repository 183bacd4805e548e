// Two ":" in a row make an empty statement, which is an unknown command.
A=1::B=2
PRINT A
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Unknown command
// stderr: Stop in line: 1
// finding: 1:4: An empty statement: two ":" in a row, or one at the start of a line, stop a run with "Unknown command". Remove the extra ":".
