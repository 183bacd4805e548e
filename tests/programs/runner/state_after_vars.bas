// The device state follows the variable list; untouched outputs show their start values.
// args: --vars --state
// expect: 2
// expect: A: 2
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
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=0
// expect: tx_column=0
// expect: tx_symbol=0
A=2: PRINT A
