// An item cannot begin with the minus operator: the list ends and the "-" is consumed,
// so the next statement begins at A and is read as an assignment across the line end.
P=3
PRINT 1
PRINT -A
PRINT 5
// args: --vars
// exit: 1
// expect: 1
// expect: ERROR in line: 4
// expect: ERROR: Expected token 34, got 35
// expect: ERROR in line: 5
// expect: ERROR: Expected token 5, got 6
// expect: A: 8
// expect: B: 0
// expect: C: 0
// expect: D: 0
// expect: E: 0
// expect: F: 0
// expect: G: 0
// expect: H: 0
// expect: I: 0
// expect: J: 0
// expect: K: 0
// expect: L: 0
// expect: M: 0
// expect: N: 0
// expect: O: 0
// expect: P: 3
// expect: Q: 0
// expect: R: 0
// expect: S: 0
// expect: T: 0
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// stderr: Stop in line: 5
// finding: 4:6: A PRINT item cannot start with a minus sign: PRINT stops at it, and a run then stops with an error. Write PRINT 0-A.
