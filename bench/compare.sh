#!/usr/bin/env bash
# Times zorvant-run against yabasic on the same workloads, written once in each language.
# Each pair must print the same result; then the two run alternately (ours, theirs, ours, ...)
# as whole processes, and the median of the per-pair wall-time ratios ours/yabasic is printed
# per workload, with the median CPU-time ratio beside it.
#
#   bash bench/compare.sh [path/to/zorvant-run]      RUNS=9 pairs by default
set -euo pipefail

runner=${1:-build/bin/zorvant-run}
runs=${RUNS:-9}
peer=${YABASIC:-yabasic}

if ! command -v "$peer" >/dev/null 2>&1; then
  echo "compare: $peer is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# ---- the workloads: NAME.bas for us, NAME.yab for the peer --------------------------------

# A counting loop.
cat > "$dir/for.bas" <<'EOF'
FOR I=1 TO 3000000
A=A+1
NEXT I
PRINT A
EOF
cat > "$dir/for.yab" <<'EOF'
a=0
for i=1 to 3000000
a=a+1
next i
print a
EOF

# Subroutine calls: four small subroutines called in turn from a counting loop.
cat > "$dir/gosub.bas" <<'EOF'
FOR I=1 TO 300000
GOSUB 10
GOSUB 20
GOSUB 30
GOSUB 40
NEXT I
PRINT A
PRINT B
END
LABEL 10
A=A+1
RETURN
LABEL 20
B=B+2
RETURN
LABEL 30
A=A-1
RETURN
LABEL 40
A=A+1
RETURN
EOF
cat > "$dir/gosub.yab" <<'EOF'
a=0:b=0
for i=1 to 300000
gosub s10
gosub s20
gosub s30
gosub s40
next i
print a
print b
end
label s10
a=a+1
return
label s20
b=b+2
return
label s30
a=a-1
return
label s40
a=a+1
return
EOF

# A loop made of a label, a conditional jump and a counter.
cat > "$dir/ifgoto.bas" <<'EOF'
A=0
LABEL 1
A=A+1
IF A<2000000 THEN GOTO 1
PRINT A
EOF
cat > "$dir/ifgoto.yab" <<'EOF'
a=0
label l1
a=a+1
if a<2000000 goto l1
print a
EOF

# Math statements: every function result feeds a sum that both print rounded.
cat > "$dir/math.bas" <<'EOF'
FOR I=1 TO 200000
SIN I,B
COS I,C
SQRT I,D
POW B,2,E
FABS C,F
LOG I,G
S=S+E+F*F
T=T+D+G
NEXT I
FLOOR S+0.5,S
FLOOR T,T
PRINT S
PRINT T
EOF
cat > "$dir/math.yab" <<'EOF'
s=0:t=0
for i=1 to 200000
b=sin(i)
c=cos(i)
d=sqrt(i)
e=b^2
f=abs(c)
g=log(i)
s=s+e+f*f
t=t+d+g
next i
print floor(s+0.5)
print floor(t)
EOF

# Output: strings and numbers, written to /dev/null when timed.
cat > "$dir/print.bas" <<'EOF'
FOR I=1 TO 200000
PRINT "LINE"
PRINT I
NEXT I
EOF
cat > "$dir/print.yab" <<'EOF'
for i=1 to 200000
print "LINE"
print i
next i
EOF

# A subroutine of 400 straight-line statements, called many times.
{
  echo "FOR I=1 TO 4000"
  echo "GOSUB 100"
  echo "NEXT I"
  echo "PRINT A"
  echo "PRINT B"
  echo "END"
  echo "LABEL 100"
  for k in $(seq 80); do
    echo "A=A+1"
    echo "B=B+A*2"
    echo "C=(A+B)/2"
    echo "D=C-B+7"
    echo "B=B-A-A+1"
  done
  echo "RETURN"
} > "$dir/longsub.bas"
tr 'A-Z' 'a-z' < "$dir/longsub.bas" |
  sed -e 's/^gosub 100$/gosub s100/' -e 's/^label 100$/label s100/' \
      -e '1i a=0:b=0:c=0:d=0' > "$dir/longsub.yab"

# A Collatz-style loop: two IFs on the parity, one of them taken and the other skipped in turn,
# and a conditional jump back.
cat > "$dir/collatz.bas" <<'EOF'
S=0
FOR N=1 TO 25000
A=N
LABEL 10
R=A%2
IF R=0 THEN A=A/2
IF R=1 THEN A=3*A+1
S=S+1
IF A>1 THEN GOTO 10
NEXT N
PRINT S
EOF
cat > "$dir/collatz.yab" <<'EOF'
s=0
for n=1 to 25000
a=n
label l10
r=mod(a,2)
if r=0 a=a/2
if r=1 a=3*a+1
s=s+1
if a>1 goto l10
next n
print s
EOF

workloads=(for gosub ifgoto math print longsub collatz)

# ---- same result ------------------------------------------------------------------------

for w in "${workloads[@]}"; do
  ours=$("$runner" --no-wait "$dir/$w.bas" 2>/dev/null | md5sum)
  theirs=$("$peer" "$dir/$w.yab" 2>/dev/null | md5sum)
  if [ "$ours" != "$theirs" ]; then
    echo "compare: $w prints different results:" >&2
    diff <("$runner" --no-wait "$dir/$w.bas" 2>/dev/null | head -20) \
         <("$peer" "$dir/$w.yab" 2>/dev/null | head -20) >&2 || true
    exit 1
  fi
done

# ---- timing -----------------------------------------------------------------------------

# Prints "wall cpu" in seconds for one whole run of the command.
time_once() {
  local TIMEFORMAT='%R %U %S' t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$t"
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-8s %10s %10s %11s %10s\n' workload ours_s yabasic_s wall_ratio cpu_ratio
worst=0
for w in "${workloads[@]}"; do
  # One warm-up of each, not counted.
  time_once "$runner" --no-wait "$dir/$w.bas" >/dev/null
  time_once "$peer" "$dir/$w.yab" >/dev/null
  : > "$dir/rows"
  for _ in $(seq "$runs"); do
    a=$(time_once "$runner" --no-wait "$dir/$w.bas")
    b=$(time_once "$peer" "$dir/$w.yab")
    echo "$a $b" >> "$dir/rows"
  done
  ours=$(awk '{ print $1 }' "$dir/rows" | median)
  theirs=$(awk '{ print $3 }' "$dir/rows" | median)
  wall=$(awk '{ printf "%.4f\n", ($3 > 0 ? $1 / $3 : 0) }' "$dir/rows" | median)
  cpu=$(awk '{ printf "%.4f\n", ($4 > 0 ? $2 / $4 : 0) }' "$dir/rows" | median)
  printf '%-8s %10.3f %10.3f %11.2f %10.2f\n' "$w" "$ours" "$theirs" "$wall" "$cpu"
  worst=$(awk -v a="$worst" -v b="$wall" 'BEGIN { print (b > a ? b : a) }')
done
echo "median of $runs alternating pairs per workload; highest wall ratio $worst"
