#!/usr/bin/env bash
# The bash completion of cardomo-cli: the words it offers at each place.
set -u
shopt -s extglob
source "$1"
failures=0
expect() {  # expect "WANTED" WORD...   (the last word is the one completed)
    local wanted="$1"
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _cardomo_cli
    local got="${COMPREPLY[*]}"
    if [[ "$got" != "$wanted" ]]; then
        echo "completing '$*': got '$got', wanted '$wanted'"
        failures=$((failures + 1))
    fi
}
expect "check export list pick sort replace import --help --version" cardomo-cli ""
expect "pick" cardomo-cli pi
expect "Title1 Title2 Title3 Topic" cardomo-cli pick cards.kqk T
expect "~ < > >= <= = <>" cardomo-cli pick cards.kqk 8 ""
expect "Code1 Code2 Code3 Card ID" cardomo-cli pick cards.kqk 8 '~' x --and C
expect "csv tsv json text" cardomo-cli export cards.kqk --format ""
expect "kqk ansi csv json" cardomo-cli import cards.kqk more.kqk --format ""
expect "--keys" cardomo-cli sort cards.kqk --k
expect "--descending --date" cardomo-cli sort cards.kqk --keys 8 --d
exit $((failures > 0))
