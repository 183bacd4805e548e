// TX sets column 3 x channel and the symbol; a second TX replaces the first, and the
// transmission stays on after the run ends.
// args: --state
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=15
// expect: tx_symbol=7
TX 1, 1
TX 5, 7
