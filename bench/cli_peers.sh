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

# Wall seconds of one run of a command line, its output thrown away.
once() {
  local t0 t1
  t0=$(date +%s%N)
  bash -c "$1" >/dev/null
  t1=$(date +%s%N)
  echo "$(( (t1 - t0) / 1000 ))"
}
# Runs A and B in turn, RUNS times after one warm-up each; prints the median
# microseconds of A, of B, and the median of the ratios B/A pair by pair.
pair() {
  local a=() b=() r=() i x y
  once "$1" >/dev/null; once "$2" >/dev/null
  for ((i = 0; i < runs; i++)); do
    x=$(once "$1"); y=$(once "$2")
    a+=("$x"); b+=("$y"); r+=("$(awk -v x="$x" -v y="$y" 'BEGIN { printf "%.3f", y / x }')")
  done
  med() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
  echo "$(med "${a[@]}") $(med "${b[@]}") $(med "${r[@]}")"
}

status=0
printf '\n%-8s %12s %12s %8s %12s %8s\n' work cardomo-cli sqlite3 ratio recsel ratio
for w in check export pick sort; do
  read -r a s rs < <(pair "${ours[$w]}" "${sqlite[$w]}")
  read -r a2 r rr < <(pair "${ours[$w]}" "${rec_[$w]}")
  ours_s=$(awk -v a="$a" -v b="$a2" 'BEGIN { printf "%.3f", (a < b ? a : b) / 1e6 }')
  verdict=$(awk -v o="$ours_s" -v x="$rs" -v y="$rr" 'BEGIN { print (o <= 0.3 && x >= 2 && y >= 2) ? "ok" : "OVER" }')
  [ "$verdict" = ok ] || status=1
  printf '%-8s %11ss %11ss %7sx %11ss %7sx  %s\n' "$w" "$ours_s" \
         "$(awk -v s="$s" 'BEGIN { printf "%.3f", s / 1e6 }')" "$rs" \
         "$(awk -v s="$r" 'BEGIN { printf "%.3f", s / 1e6 }')" "$rr" "$verdict"
done
echo "targets: cardomo-cli at most 0.3 s, each peer at least 2x slower (the ratio: peer / cardomo-cli, medians of $runs pairs)"
exit "$status"
