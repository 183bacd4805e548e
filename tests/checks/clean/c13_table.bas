// A multiplication table, two loops inside each other.
FOR I=1 TO 3
FOR J=1 TO 3
PRINT I*J
NEXT J
NEXT I
