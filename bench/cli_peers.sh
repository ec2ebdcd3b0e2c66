#!/usr/bin/env bash
# cardomo-cli on 32000 generated cards, the whole process each time, beside
# two peers doing the same work on the same records in one process each:
#   sqlite3  imports the cards' CSV (as `cardomo-cli export` writes it) into
#            an in-memory table and runs the same query;
#   recsel   runs the same query on the same cards as a rec file.
# Four kinds of work: check (count the cards), export csv (every card),
# pick (Topic contains a word) and sort (by Topic, then Title1).
# Targets: each cardomo-cli run at most 0.3 s, and at least 2x faster than
# each peer. Exits with 1 when a figure is over its target.
#
#   bench/cli_peers.sh [RUNS]      # RUNS pairs per comparison, default 7
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-7}"
"$root/scripts/deps" --bench

build="${CARDOMO_BENCH_BUILD:-$root/build-bench}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCARDOMO_BENCH=ON -DCARDOMO_TESTS=OFF >/dev/null
cmake --build "$build" --target cardomo-cli gen-cards >/dev/null
cli="$build/src/cardomo-cli"
work="$build/bench/cli-peers"
mkdir -p "$work"
cards="$work/cards.kqk"
[ -f "$cards" ] || "$build/bench/gen-cards" 32000 "$cards" >/dev/null
csv="$work/cards.csv"
rec="$work/cards.rec"
"$cli" export "$cards" --format csv --out "$csv" --force
# The same records as a rec file: names without blanks, line breaks of the
# Memo as continuation lines.
python3 - "$csv" "$rec" <<'PY'
import csv, sys
with open(sys.argv[1], newline="", encoding="utf-8") as f, open(sys.argv[2], "w", encoding="utf-8") as out:
    rows = csv.reader(f)
    names = [n.replace(" ", "_").replace(":", "_") for n in next(rows)]
    for row in rows:
        for name, value in zip(names, row):
            lines = value.replace("\r\n", "\n").split("\n")
            out.write(f"{name}: {lines[0]}\n")
            for line in lines[1:]:
                out.write(f"+ {line}\n")
        out.write("\n")
PY
word="$("$cli" export "$cards" --format tsv | awk -F'\t' 'NR == 2 { split($8, w, " "); print w[1] }')"
picked=$("$cli" pick "$cards" Topic '~' "$word" --format csv | python3 -c 'import csv,sys; print(len(list(csv.reader(sys.stdin))) - 1)')
echo "32000 cards: $(du -m "$cards" | cut -f1) MB card file, $(du -m "$csv" | cut -f1) MB CSV, $(du -m "$rec" | cut -f1) MB rec; pick: Topic contains \"$word\" ($picked cards)"

import=".import --csv $csv cards"
declare -A ours sqlite rec_
ours[check]="$cli check $cards"
sqlite[check]="sqlite3 :memory: -cmd '$import' 'select count(*) from cards'"
rec_[check]="recsel -c $rec"
ours[export]="$cli export $cards --format csv"
sqlite[export]="sqlite3 :memory: -csv -header -cmd '$import' 'select * from cards'"
rec_[export]="recsel $rec"
ours[pick]="$cli pick $cards Topic '~' $word --format csv"
sqlite[pick]="sqlite3 :memory: -csv -header -cmd '$import' \"select * from cards where instr(Topic, '$word') > 0\""
rec_[pick]="recsel -e \"Topic ~ '$word'\" $rec"
ours[sort]="$cli sort $cards --keys Topic,Title1 --out -"
sqlite[sort]="sqlite3 :memory: -csv -header -cmd '$import' 'select * from cards order by Topic, Title1'"
rec_[sort]="recsel -S Topic,Title1 $rec"

# Runs two command lines in turn (A B A B ...), RUNS times after one warm-up
# each, output thrown away; prints the medians of A's and B's processor time
# (user + system, the whole process) and wall time, and the medians of the
# ratios B/A pair by pair, processor and wall.
pair() {
  python3 - "$runs" "$1" "$2" <<'PY'
import os, statistics, subprocess, sys, time
runs, a, b = int(sys.argv[1]), sys.argv[2], sys.argv[3]
def once(cmd):
    before = os.times()
    t0 = time.perf_counter()
    subprocess.run(["bash", "-c", cmd], stdout=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - t0
    after = os.times()
    return (after.children_user - before.children_user) + (after.children_system - before.children_system), wall
once(a); once(b)
pairs = [(once(a), once(b)) for _ in range(runs)]
med = statistics.median
print(f"{med(p[0][0] for p in pairs):.3f} {med(p[0][1] for p in pairs):.3f} "
      f"{med(p[1][0] for p in pairs):.3f} {med(p[1][1] for p in pairs):.3f} "
      f"{med(p[1][0] / p[0][0] for p in pairs):.2f} {med(p[1][1] / p[0][1] for p in pairs):.2f}")
PY
}

status=0
printf '\n%-7s %-19s %-19s %-13s %-19s %-13s\n' "" "cardomo-cli" "sqlite3" "ratio" "recsel" "ratio"
printf '%-7s %-19s %-19s %-13s %-19s %-13s\n' work "cpu s  wall s" "cpu s  wall s" "cpu   wall" "cpu s  wall s" "cpu   wall"
for w in check export pick sort; do
  read -r ac aw sc sw rsc rsw < <(pair "${ours[$w]}" "${sqlite[$w]}")
  read -r ac2 aw2 rc rw rrc rrw < <(pair "${ours[$w]}" "${rec_[$w]}")
  verdict=$(awk -v a="$ac" -v x="$rsc" -v y="$rrc" 'BEGIN { print (a <= 0.3 && x >= 2 && y >= 2) ? "ok" : "OVER" }')
  [ "$verdict" = ok ] || status=1
  printf '%-7s %6s %7s      %6s %7s      %5sx %5sx  %6s %7s      %5sx %5sx  %s\n' \
         "$w" "$ac" "$aw" "$sc" "$sw" "$rsc" "$rsw" "$rc" "$rw" "$rrc" "$rrw" "$verdict"
done
echo "medians of $runs pairs; ratio = the peer's time / cardomo-cli's, pair by pair"
echo "targets: cardomo-cli at most 0.3 s of processor time, each peer at least 2x its time"
exit "$status"
