// Comment lines, indented comment lines and blank lines are dropped but still count
// as editor lines in reports.
// exit: 1
// expect: 1
// expect: 2
// expect: ERROR in line: 17
// expect: ERROR: Unknown command
// stderr: Stop in line: 17
PRINT 1

   // indented comment
	  // comment after a tab
   	  
//PRINT 9
PRINT 2

// another comment
#
// finding: 17:0: "#" cannot start a statement, and a run stops here with "Unknown command": a statement starts with a word such as PRINT or FOR, or with a variable letter, as in A=5.
