// A lower-case letter where an operand belongs fails the operand check and reads as 0;
// the bad token cannot be stepped over, so the ":" check fails on it as well.
B=4
A=3
A=b
// args: --vars
// exit: 1
// expect: ERROR in line: 4
// expect: ERROR: Expected token 5, got 0
// expect: ERROR in line: 4
// expect: ERROR: Expected token 35, got 0
// expect: A: 0
// expect: B: 4
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
// finding: 4:2: The language knows only upper-case letters: write B instead of b. A run stops here with an error.
