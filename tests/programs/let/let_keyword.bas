// There is no LET: "LET A=1" assigns to L, the "=" check fails on E, and T's value is stored.
T=7
LET A=1
// args: --vars
// exit: 1
// expect: ERROR in line: 2
// expect: ERROR: Expected token 34, got 5
// expect: ERROR in line: 2
// expect: ERROR: Expected token 35, got 5
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
// expect: L: 7
// expect: M: 0
// expect: N: 0
// expect: O: 0
// expect: P: 0
// expect: Q: 0
// expect: R: 0
// expect: S: 0
// expect: T: 7
// expect: U: 0
// expect: V: 0
// expect: W: 0
// expect: X: 0
// expect: Y: 0
// expect: Z: 0
// finding: 2:0: There is no LET in this language: write A=1 without it. A run stops here with an error.
