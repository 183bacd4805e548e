// Symbols below 1 become 0; symbols above 7 become 7.
// args: --state
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=12
// expect: tx_symbol=0
TX 1, 5
TX 4, -3
// finding: 10:6: A symbol is 0 to 7: -3 sends 0.
