#!/usr/bin/env bash
# The register export as a whole process against sqlite3 -html writing the same rows (every dated call,
# the export's 15 columns, trimmed) to a file, run alternately in the same run. Prints both medians of
# wall time and of processor time (user + system), their ratios and the two files' sizes.
# Usage: bench/export_vs_sqlite.sh [--quick] [BUILD_DIR] [RUNS] [DATA_DIR]
#   (default build, 7 runs each; DATA_DIR: an existing data folder, else the ten-year set is generated:
#   20,000 clients, 200,000 calls). Needs sqlite3 and python3 (to load the rows into sqlite).
#   --quick (the tests' run): one run each over a generated set of 5,000 calls.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
if [ "${1:-}" = --quick ]; then
    quick=1
    shift
fi
build=${1:-build}
runs=${2:-7}
data=${3:-}
[ "$quick" = 1 ] && runs=1
tool="$build/bin/ombrisa-tool"
command -v sqlite3 >/dev/null || { echo "sqlite3 is needed (apt-get install sqlite3)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$data" ]; then
    data="$work/data"
    if [ "$quick" = 1 ]; then
        "$tool" generate --dir "$data" --clients 500 --calls 5000 --agents 5 --works 20 >/dev/null
    else
        "$tool" generate --dir "$data" --clients 20000 --calls 200000 --agents 200 --works 1000 >/dev/null
    fi
fi

# The same rows in sqlite: what the export writes, from the tool's own dump.
"$tool" dump chiamate --dir "$data" | python3 -c '
import json, sqlite3, sys
cols = ["DataRit", "OraRit", "Tipo", "Oggetto", "Esito", "Grado", "Durata", "Cliente", "CodFisc", "Zona",
        "Recapito", "TelCel", "Email", "Note", "Operatore"]
db = sqlite3.connect(sys.argv[1])
db.execute("create table chiamate(%s)" % ",".join(c + " text" for c in cols))
rows = []
for line in sys.stdin:
    r = json.loads(line)
    if r.get("DataRit", "").strip():
        rows.append([r.get(c, "").strip() for c in cols])
db.executemany("insert into chiamate values(%s)" % ",".join("?" * len(cols)), rows)
db.commit()
' "$work/calls.db"

# "wall cpu" in milliseconds for one run of the command, its output going to the file $1.
one() {
    local out=$1 t0 t1
    shift
    t0=$(date +%s%N)
    /usr/bin/time -f "%U %S" -o "$work/cpu" "$@" >"$out"
    t1=$(date +%s%N)
    awk -v w=$(((t1 - t0) / 1000000)) '{printf "%d %d\n", w, ($1 + $2) * 1000}' "$work/cpu"
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

sqlite=(sqlite3 -html "$work/calls.db" "select * from chiamate")
export=("$tool" export chiamate --dir "$data" --out "$work/export.xls")
one "$work/sqlite.html" "${sqlite[@]}" >/dev/null # warm the file cache for both
one /dev/null "${export[@]}" >/dev/null
sw=() sc=() ew=() ec=()
for ((i = 0; i < runs; i++)); do
    read -r w c < <(one "$work/sqlite.html" "${sqlite[@]}")
    sw+=("$w") sc+=("$c")
    read -r w c < <(one /dev/null "${export[@]}")
    ew+=("$w") ec+=("$c")
done
msw=$(printf '%s\n' "${sw[@]}" | median) msc=$(printf '%s\n' "${sc[@]}" | median)
mew=$(printf '%s\n' "${ew[@]}" | median) mec=$(printf '%s\n' "${ec[@]}" | median)
ss=$(stat -c %s "$work/sqlite.html") es=$(stat -c %s "$work/export.xls")
echo "sqlite3 -html: wall median ${msw} ms (${sw[*]}), processor median ${msc} ms (${sc[*]}), ${ss} bytes"
echo "export:        wall median ${mew} ms (${ew[*]}), processor median ${mec} ms (${ec[*]}), ${es} bytes"
awk -v a="$mew" -v b="$msw" -v c="$mec" -v d="$msc" -v e="$es" -v f="$ss" \
    'BEGIN {printf "ratios: wall %.2f, processor %.2f, size %.2f\n", a / b, c / d, e / f}'
