// A NaN symbol cannot be range-tested: arithmetic fault, the earlier transmission stays.
// args: --state
// exit: 1
// expect: ERROR in line: 16
// expect: ERROR: Invalid floating point operation
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=21
// expect: tx_symbol=5
// stderr: sqrt: DOMAIN error
// stderr: Stop in line: 16
TX 7, 5
SQRT -1, N
TX 3, N: PRINT 1
PRINT 2
