// The marker line may have blanks around DATA; what follows it is data, not program.
// expect: 42
// expect: 7
// expect: 99
// stderr: Stop in line: 7
PEEK 2048, A: PRINT A
PEEK 2049, A: PRINT A
PEEK 2050, A: PRINT A
   DATA	 
42 7
PRINT 99
