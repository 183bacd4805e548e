// "%" divides by the truncated right operand: 0.5 truncates to 0.
PRINT 7%3
PRINT 7%0.5
PRINT 1
// exit: 1
// expect: 1
// expect: ERROR in line: 2
// expect: ERROR: Division by zero
// finding: 2:7: % takes whole numbers, so %0.5 divides by 0: a run stops here with "Division by zero".
