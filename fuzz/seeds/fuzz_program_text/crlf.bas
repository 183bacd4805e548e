PRINT 1
// note
DATA
1,2
