// Reported line numbers count every editor line: comments, blank lines and blank-looking
// lines of spaces and tabs included.
PRINT 1

// a comment between statements
  	  
   PRINT 2

A=1 B
PRINT 3
// exit: 1
// expect: 1
// expect: 2
// expect: ERROR in line: 8
// expect: ERROR: Expected token 35, got 5
// stderr: Stop in line: 8
// finding: 8:4: An assignment needs the end of the statement here, not the variable B: a run stops here with an error. Two statements need a ":" between them.
