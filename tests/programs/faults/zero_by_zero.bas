// 0/0 is a division by zero too; the assignment does not store anything.
A=5
A=0/0
PRINT A
// args: --vars
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Division by zero
// expect: A: 5
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
// expect: P: 0
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
// finding: 2:3: Dividing by 0 is not possible: a run stops here with "Division by zero".
