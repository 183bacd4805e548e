// ROFF switches the transmitter off and leaves channel and symbol.
// args: --state
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=0
// expect: tx_column=18
// expect: tx_symbol=2
TX 6, 2
ROFF
