#!/usr/bin/env bash
# The program beside other tools on the same cards, each task as a whole
# process measured side by side in one run (the commands in turn, run for
# run): opening, a pick over one field, a three-key and a twelve-key sort,
# the listing text, saving. The peers get the same cards, converted once
# (not timed): sqlite3 (import and query in one process), recutils (recsel,
# recfmt) and awk/sort. Prints each median and the ratio program / peer.
#
#   bench/app_peers.sh BUILD_DIR [runs]     (BUILD_DIR holds bench/app_task)
set -euo pipefail
build="${1:?usage: bench/app_peers.sh BUILD_DIR [runs]}"
runs="${2:-3}"
task="$build/bench/app_task"
for tool in sqlite3 recsel recfmt awk sort; do
  command -v "$tool" >/dev/null || { echo "app_peers: $tool is missing (scripts/deps installs it)"; exit 2; }
done
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export LC_ALL=C  # ordinal comparisons everywhere, as the program's
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cards="$work/cards.kqk"
"$build/bench/gen-cards" 32000 "$cards" >/dev/null
"$task" tsv "$cards" "$work/cards.tsv" 2>/dev/null
"$task" rec "$cards" "$work/cards.rec" 2>/dev/null
word=ki

# sqlite3: the import and the query in one process.
sql() { sqlite3 -batch ":memory:" ".mode tabs" ".import $work/cards.tsv cards" "$@"; }
fields12="Title1, Title2, Title3, Day, Month, Year, Page, Topic, Keywords, FileLink, Code1, Code2"
awklist='BEGIN { FS = "\t" } NR > 1 { printf "==%d\n%s   %s   %s   %s %s %s, %s\n\n Topic:  %s\n Keywords:  %s\n File link:  %s\n Code1:  %s\n Code2:  %s\n Code3:  %s\n Action date:  %s %s %s %s\n\n%s\n\n %s\n\n", NR - 1, $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15, $16, $17, $18, $19 }'
cat > "$work/list.tmpl" <<'EOF'
==
{{Title1}}   {{Title2}}   {{Title3}}   {{Day}} {{Month}} {{Year}}, {{Page}}

 Topic:  {{Topic}}
 Keywords:  {{Keywords}}
 File link:  {{FileLink}}
 Code1:  {{Code1}}
 Code2:  {{Code2}}
 Code3:  {{Code3}}
 Action date:  {{aYear}} {{aMonth}} {{aDay}} {{aHour}}

{{Memo}}

 {{CardID}}

EOF

TAB=$'\t'
# Each task: its name, then the program, sqlite3, recutils and awk/sort, each
# a shell command line.
names=() ; cmds=()
add() { names+=("$1"); cmds+=("$2" "$3" "$4" "$5"); }
add "opening" "$task open $cards" "sql 'select count(*) from cards'" "recsel -c $work/cards.rec" \
    "awk 'END { print NR - 1 }' $work/cards.tsv"
add "pick over one field" "$task pick $cards $word" "sql \"select count(*) from cards where instr(Topic, '$word') > 0\"" \
    "recsel -c -e \"Topic ~ '$word'\" $work/cards.rec" \
    "awk -F'\t' 'NR > 1 && index(\$8, \"$word\") { n++ } END { print n }' $work/cards.tsv"
add "sort by three keys" "$task sort3 $cards $work/out.kqk" \
    "sql 'select * from cards order by Topic, Year, Title1' > $work/out.txt" \
    "recsel -S Topic,Year,Title1 $work/cards.rec > $work/out.txt" \
    "sort -t'$TAB' -s -k8,8 -k6,6 -k1,1 $work/cards.tsv > $work/out.txt"
add "sort by twelve keys" "$task sort12 $cards $work/out.kqk" \
    "sql 'select * from cards order by $fields12' > $work/out.txt" \
    "recsel -S Title1,Title2,Title3,Day,Month,Year,Page,Topic,Keywords,FileLink,Code1,Code2 $work/cards.rec > $work/out.txt" \
    "sort -t'$TAB' -s -k1,1 -k2,2 -k3,3 -k4,4 -k5,5 -k6,6 -k7,7 -k8,8 -k9,9 -k10,10 -k11,11 -k12,12 $work/cards.tsv > $work/out.txt"
listsql="select '==' || rowid || char(10) || Title1 || '   ' || Title2 || '   ' || Title3 || '   ' || Day || ' ' || Month || ' ' || Year || ', ' || Page || char(10,10) || ' Topic:  ' || Topic || char(10) || ' Keywords:  ' || Keywords || char(10) || ' File link:  ' || FileLink || char(10) || ' Code1:  ' || Code1 || char(10) || ' Code2:  ' || Code2 || char(10) || ' Code3:  ' || Code3 || char(10) || ' Action date:  ' || aYear || ' ' || aMonth || ' ' || aDay || ' ' || aHour || char(10,10) || Memo || char(10,10) || ' ' || CardID || char(10) from cards"
add "listing text" "$task list $cards $work/out.txt" "sql \"\$listsql\" > $work/out.txt" \
    "recfmt -f $work/list.tmpl < $work/cards.rec > $work/out.txt" "awk \"\$awklist\" $work/cards.tsv > $work/out.txt"
add "saving" "$task save $cards $work/out.kqk" "sql '.output $work/out.txt' 'select * from cards'" \
    "recsel $work/cards.rec > $work/out.txt" "awk '{ print }' $work/cards.tsv > $work/out.txt"

ms() {  # milliseconds of one run of a shell command line
  local t0 t1
  t0=$(date +%s%N)
  eval "$1" >/dev/null 2>&1 || echo "app_peers: failed: $1" >&2
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000000 ))
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

printf "Whole processes on 32000 cards, median of %d runs taken in turn; ratio = program / peer\n" "$runs"
printf "%-20s %9s %17s %17s %17s\n" "task" "program" "sqlite3" "recutils" "awk/sort"
for ((t = 0; t < ${#names[@]}; t++)); do
  name="${names[$t]}"
  cmd=("${cmds[@]:$((4 * t)):4}")
  times=("" "" "" "")
  for ((r = 0; r < runs; r++)); do
    for i in 0 1 2 3; do
      times[$i]+="$(ms "${cmd[$i]}") "
    done
  done
  m=()
  for i in 0 1 2 3; do m[$i]=$(tr ' ' '\n' <<<"${times[$i]}" | grep . | median); done
  printf "%-20s %6d ms" "$name" "${m[0]}"
  for i in 1 2 3; do
    awk -v a="${m[0]}" -v b="${m[$i]}" 'BEGIN { printf " %6d ms %6.2fx", b, (b > 0 ? a / b : 0) }'
  done
  printf "\n"
done
