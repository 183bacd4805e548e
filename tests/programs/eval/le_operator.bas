// There is no "<=": after "<" the "=" stands where an operand belongs.
A=0
B=0
IF A<=B THEN PRINT 1
PRINT 2
// exit: 1
// expect: ERROR in line: 3
// expect: ERROR: Expected token 5, got 34
// expect: ERROR in line: 3
// expect: ERROR: Expected token 8, got 5
// finding: 3:4: "<=" is not an operator of this language: only <, > and = compare. For whole numbers write A<B+1; otherwise test A<B and A=B in two IF lines.
