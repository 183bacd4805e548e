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
