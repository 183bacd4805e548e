// A channel of 32 or more falls back to channel 0, not to the nearest channel.
// args: --state
// expect: tb_coix=0
// expect: tb_coiy=0
// expect: tb_coiz=0
// expect: pb_spd=4
// expect: tx_active=1
// expect: tx_column=0
// expect: tx_symbol=3
TX 9, 1
TX 32, 3
// finding: 10:3: TX sends on channels 0 to 31: channel 32 sends on channel 0, not the nearest one.
