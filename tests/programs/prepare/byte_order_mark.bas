PRINT "MARK"
// Written by an editor that starts its files with a UTF-8 byte-order mark, and ends its
// lines with CR LF: the mark is dropped when the file is read, and the first line runs.
// expect: MARK
