// The even numbers up to 20, counted without STEP.
FOR K=0 TO 10
PRINT K*2
NEXT K
