// Sixteen digits are no number: the operand check fails twice and the variable gets 0.
A=9
A=1234567890123456
B=5
// args: --vars
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Expected token 5, got 0
// expect: ERROR in line: 2
// expect: ERROR: Expected token 35, got 0
// expect: A: 0
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
// stderr: Stop in line: 2
// finding: 2:2: A number has at most 15 characters, its minus sign included, and this one has 16: a run stops here with an error. Write it with fewer digits.
