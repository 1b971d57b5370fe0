#!/usr/bin/env bash
# vodiz-cli catalogue list, run as a user would. $1: the folder of the programs.
set -u
cli="$1/vodiz-cli"
schema="${VODIZ_SOURCE_DIR:?}/data/catalogue/schema.sql"
. "$(dirname "$0")/lib/common.sh"

# The shipped catalogue beside the program, aligned columns.
out=$("$cli" catalogue list) || fail "list exited with $?"
head -n1 <<<"$out" | grep -Eq '^cat_num +name +ins +outs +Conf_in +kind +prefix$' || fail "header: $(head -n1 <<<"$out")"
grep -Eq '^1010 +Шлюз X10 +3 +0 +X10 +8 +x10_can_$' <<<"$out" || fail "no aligned X10 row"

# Tab-separated: exact rows, ordered by catalogue number.
out=$("$cli" catalogue list --tsv) || fail "list --tsv exited with $?"
[ "$(head -n1 <<<"$out")" = "cat_num${tab}name${tab}ins${tab}outs${tab}Conf_in${tab}kind${tab}prefix" ] ||
    fail "tsv header: $(head -n1 <<<"$out")"
grep -qx "500${tab}Модуль входов 16${tab}16${tab}0${tab}8AC.8DC${tab}5${tab}inp16_" <<<"$out" || fail "no 500 row"
grep -qx "5000${tab}ИК-приемопередатчик${tab}0${tab}0${tab}Нет${tab}11${tab}IR_" <<<"$out" || fail "no 5000 row"
grep -q "^700${tab}.*${tab}0${tab}Устройство_$" <<<"$out" || fail "no kind-0 row"
nums=$(tail -n +2 <<<"$out" | cut -f1)
[ "$nums" = "$(sort -n <<<"$nums")" ] || fail "rows not ordered by catalogue number"

# A catalogue of our own, given before or after the command; the entry
# whose input configuration row is missing is not listed.
own="$tmp/own catalogue.db"
{
    cat "$schema"
    cat <<'SQL'
insert into ZinType values (1, 'C1');
insert into Zkorpus values (1, 'K');
insert into ZPitanie values (1, 'P');
insert into ZOutType values (1, 'O');
insert into ZvornakelType values (1, 'f');
insert into Devvornakel values (149, 'Крайний диммер', 8, 8, 1, 1, 1, 1, 1, 1);
insert into Devvornakel values (150, 'Первый четырехканальный', 4, 4, 1, 1, 1, 1, 1, 0);
insert into Devvornakel values (9, 'Без конфигурации', 1, 1, 5, 1, 1, 1, 1, 1);
SQL
} | sqlite3 -bail "$own" || fail "cannot build the test catalogue"
expected="cat_num${tab}name${tab}ins${tab}outs${tab}Conf_in${tab}kind${tab}prefix
149${tab}Крайний диммер${tab}8${tab}8${tab}C1${tab}1${tab}dim8_
150${tab}Первый четырехканальный${tab}4${tab}4${tab}C1${tab}2${tab}dim4_"
out=$("$cli" --catalogue "$own" catalogue list --tsv) || fail "--catalogue exited with $?"
[ "$out" = "$expected" ] || fail "own catalogue listed as: $out"
out=$("$cli" catalogue list --tsv --catalogue="$own") || fail "--catalogue= after the command exited with $?"
[ "$out" = "$expected" ] || fail "own catalogue (option after) listed as: $out"

# Unusable catalogues: a message, exit code 2, nothing on stdout, no file made.
printf 'not a database\r\n%.0s' {1..100} >"$tmp/garbage.db"
for bad in "$tmp/missing.db" "$tmp/garbage.db" "$tmp"; do
    "$cli" --catalogue "$bad" catalogue list >"$tmp/out" 2>"$tmp/err"
    code=$?
    [ "$code" = 2 ] || fail "$bad: exit code $code, expected 2"
    [ -s "$tmp/err" ] || fail "$bad: no message"
    [ ! -s "$tmp/out" ] || fail "$bad: output on stdout"
done
[ ! -e "$tmp/missing.db" ] || fail "a missing catalogue was created"

# Usage errors.
"$cli" catalogue >/dev/null 2>&1; [ $? = 2 ] || fail "no subcommand: expected exit 2"
"$cli" catalogue show >/dev/null 2>&1; [ $? = 2 ] || fail "unknown subcommand: expected exit 2"
"$cli" catalogue list --bogus >/dev/null 2>&1; [ $? = 2 ] || fail "unknown option: expected exit 2"

[ "$failures" = 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "catalogue.sh: all passed"
