// A missing ")" is reported, the value inside is kept, and the ":" check then fails on B.
A=(1+2:B=7
// args: --vars
// exit: 1
// expect: ERROR in line: 1
// expect: ERROR: Expected token 31, got 35
// expect: ERROR in line: 1
// expect: ERROR: Expected token 35, got 5
// expect: A: 3
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
// finding: 1:6: An assignment needs ")" here, not ":": a run stops here with an error.
