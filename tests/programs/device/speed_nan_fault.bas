// A NaN speed cannot be range-tested: the run stops with an arithmetic fault.
// args: --state
// exit: 1
// expect: ERROR in line: 16
// expect: ERROR: Invalid floating point operation
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=2
// expect: tx_active=0
// expect: tx_column=0
// expect: tx_symbol=0
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 16
SPEED 2
SQRT -1, N
SPEED N: PRINT 1
PRINT 2
