// A NaN coil value cannot be range-tested: the run stops with an arithmetic fault and
// no coil moves, not even those tested before it.
// args: --state
// exit: 1
// expect: ERROR in line: 17
// expect: ERROR: Invalid floating point operation
// expect: tb_coix=50
// expect: tb_coiy=50
// expect: tb_coiz=50
// expect: pb_spd=4
// expect: tx_active=0
// expect: tx_column=0
// expect: tx_symbol=0
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 17
COIL 0.5, 0.5, 0.5
SQRT -1, N
COIL 0.1, N, 0.2: PRINT 1
PRINT 2
