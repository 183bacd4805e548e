// A*-B is no expression: "-" where a factor belongs reads as 0, then B is left over.
A=2
B=3
PRINT A*-2
C=A*-B
// exit: 1
// expect: -4
// expect: ERROR in line: 4
// expect: ERROR: Expected token 5, got 23
// expect: ERROR in line: 4
// expect: ERROR: Expected token 35, got 5
// finding: 4:4: A minus sign can start a calculation or stand right before a digit, but not follow another sign: A*-B does not work. Write A*(0-B).
