// The statements that read and drive the device panel and the radio.
#pragma once

// Enters MGET, CGET, TGET, PGET, RX, COIL, SPEED, DELAY, TX and ROFF into the interpreter's
// dispatch table.
void device_register_statements();

void stmt_mget();
void stmt_cget();
void stmt_tget();
void stmt_pget();
void stmt_rx();
void stmt_coil();
void stmt_speed();
void stmt_delay();
