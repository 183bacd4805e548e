// Fractional channel and symbol values: channel 31.99 is channel 31, symbol 7.9 is 7.
// args: --state
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=93
// expect: tx_symbol=7
TX 31.99, 7.9
