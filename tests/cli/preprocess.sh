#!/usr/bin/env bash
# vodiz-cli preprocess, run as a user would. $1: the folder of the programs.
set -u
cli="$1/vodiz-cli"
. "$(dirname "$0")/lib/common.sh"

# A program calling a function (Windows-1251, CR LF as the editor writes).
printf 'function blink(x);\r\nsetout(x,1,0,0);\r\n' >"$tmp/blink.pf"
printf 'module dev1\r\nProgram;\r\nlinks;\r\nend;\r\nReset;\r\nloop: $blink(1);\r\n// \xea\xee\xec\xec\xe5\xed\xf2\xe0\xf0\xe8\xe9\r\ngoto(loop);\r\nend;\r\nEndprogram;\r\n' >"$tmp/dev1.pd"
out=$("$cli" preprocess "$tmp/dev1.pd" --tsv) || fail "preprocess exited with $?"
expected="file${tab}line${tab}statement
dev1.pd${tab}1${tab}module dev1 program
dev1.pd${tab}2${tab}links
dev1.pd${tab}3${tab}end
dev1.pd${tab}4${tab}reset
blink.pf${tab}1${tab}@l1:setout(1,1,0,0)
dev1.pd${tab}7${tab}goto(@l1)
dev1.pd${tab}8${tab}end
dev1.pd${tab}9${tab}endprogram"
[ "$out" = "$expected" ] || fail "statements: $out"
[ "$(stat -c %s "$tmp/dev1.pdl")" = $((8 * 544)) ] || fail "position file size"
printf 'module dev1 program;\r\nlinks;\r\nend;\r\nreset;\r\n@l1:setout(1,1,0,0);\r\ngoto(@l1);\r\nend;\r\nendprogram;\r\n' >"$tmp/expected.pdc"
cmp -s "$tmp/dev1.pdc" "$tmp/expected.pdc" || fail "listing bytes differ"

# Function files from another folder.
mkdir "$tmp/other" && mv "$tmp/blink.pf" "$tmp/other/"
out=$("$cli" preprocess "$tmp/dev1.pd" --functions "$tmp/other" --tsv) || fail "--functions exited with $?"
grep -qx "blink.pf${tab}1${tab}@l1:setout(1,1,0,0)" <<<"$out" || fail "--functions not used: $out"

# A function that calls itself stops with a message naming the chain.
printf 'function loop(a);\r\n$loop(a);\r\n' >"$tmp/loop.pf"
printf 'x;\r\ny;\r\n$loop(1);\r\n' >"$tmp/rec.pd"
err=$("$cli" preprocess "$tmp/rec.pd" 2>&1 >/dev/null)
[ $? = 1 ] || fail "recursion: exit code"
grep -q 'loop.pf(1): Рекурсивный вызов функции loop: loop -> loop' <<<"$err" || fail "recursion message: $err"
[ ! -e "$tmp/rec.pdc" ] && [ ! -e "$tmp/rec.pdl" ] || fail "listing left after a failure"

# Too short a program, a missing program, bad usage.
printf 'links;\r\n' >"$tmp/short.pd"
"$cli" preprocess "$tmp/short.pd" 2>/dev/null; [ $? = 1 ] || fail "short program: exit code"
"$cli" preprocess "$tmp/none.pd" 2>/dev/null; [ $? = 2 ] || fail "missing program: exit code"
"$cli" preprocess 2>/dev/null; [ $? = 2 ] || fail "no argument: exit code"

[ $failures = 0 ] && echo "preprocess: all passed"
exit $((failures > 0))
