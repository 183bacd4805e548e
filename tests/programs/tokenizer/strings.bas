// String literals: no escapes, ":" and keywords inside are text, at most 40 characters printed.
PRINT "HELLO, WORLD"
PRINT "A:B;C"
PRINT ""
PRINT "1234567890123456789012345678901234567890ABCDEFGHIJ"
PRINT "1234567890123456789012345678901234567890"
PRINT "lower case $ ! ? is fine inside"
PRINT "X""Y"
PRINT "IF 1<2 THEN ELSE LABEL 5"
// expect: HELLO, WORLD
// expect: A:B;C
// expect:
// expect: 1234567890123456789012345678901234567890
// expect: 1234567890123456789012345678901234567890
// expect: lower case $ ! ? is fine inside
// expect: X
// expect: Y
// expect: IF 1<2 THEN ELSE LABEL 5
