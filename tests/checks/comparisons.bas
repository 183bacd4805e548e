// Comparisons the language does not have, with what to write instead.
IF A<=2 THEN PRINT "SMALL"
IF A>=B THEN PRINT "BIG"
IF A<>B THEN PRINT "DIFFERENT"
IF A!=B THEN PRINT "DIFFERENT"
IF A==2 THEN PRINT "TWO"
IF A=<2 THEN PRINT "SMALL"
IF A< = 2 THEN PRINT "SPACED"
IF A<2 THEN PRINT "A<=2 IN A TEXT IS FINE"
// finding: 1:4: "<=" is not an operator of this language: only <, > and = compare. For whole numbers write A<3; otherwise test A<2 and A=2 in two IF lines.
// finding: 2:4: ">=" is not an operator of this language: only <, > and = compare. For whole numbers write A>B-1; otherwise test A>B and A=B in two IF lines.
// finding: 3:4: "<>" is not an operator of this language: there is no "not equal". Test A<B and A>B in two IF lines, or turn the test round: IF A=B THEN ... ELSE ...
// finding: 4:4: "!=" is not an operator of this language: there is no "not equal". Test A<B and A>B in two IF lines, or turn the test round: IF A=B THEN ... ELSE ...
// finding: 5:4: "==" is not an operator of this language: equal is a single =, as in A=2.
// finding: 6:4: "=<" is not an operator of this language: only <, > and = compare. For whole numbers write A<3; otherwise test A<2 and A=2 in two IF lines.
// finding: 7:4: "<=" is not an operator of this language: only <, > and = compare. For whole numbers write A<3; otherwise test A<2 and A=2 in two IF lines.
