// Only comments and blank lines: nothing runs.

   // an indented comment
// stderr: Stop in line: 0
