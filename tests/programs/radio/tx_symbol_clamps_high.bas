// Symbols far above 7 become 7, and the channel may be an expression.
// args: --state
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=21
// expect: tx_symbol=7
TX 2*3+1, 100
// finding: 9:10: A symbol is 0 to 7: 100 sends 7.
