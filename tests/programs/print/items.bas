// Every PRINT item goes to a line of its own; separators only separate.
PRINT "A";"B";5
PRINT
PRINT 1,
PRINT ,;,2
A=4
B=6
PRINT A B
PRINT A;B,A
PRINT (A+B)*2
PRINT "";7
PRINT 1 2
PRINTB
PRINT "END"
// expect: A
// expect: B
// expect: 5
// expect: 1
// expect: 2
// expect: 4
// expect: 6
// expect: 4
// expect: 6
// expect: 4
// expect: 20
// expect:
// expect: 7
// expect: 3
// expect: 6
// expect: END
