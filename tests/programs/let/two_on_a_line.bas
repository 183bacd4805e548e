// Without ":" the second assignment is no statement; the first one has stored its value.
A=5 B=6
// args: --vars
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Expected token 35, got 5
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
// stderr: Stop in line: 1
// finding: 1:4: An assignment needs the end of the statement here, not the variable B: a run stops here with an error. Two statements need a ":" between them.
