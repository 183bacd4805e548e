// A run never reads what follows END on its line, but a search for a label further down
// passes it, and stops at a character the scanner cannot take.
GOSUB 1
END	
LABEL 1
PRINT "HERE"
RETURN
// finding: 3:3: A run never reads this part of the line, but a search for a LABEL further down passes it: A tab is not a space in this language, and a run stops here with an error: use spaces instead.
