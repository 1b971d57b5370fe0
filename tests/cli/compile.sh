#!/usr/bin/env bash
# vodiz-cli compile, run as a user would. $1: the folder of the programs.
set -u
cli="$1/vodiz-cli"
. "$(dirname "$0")/lib/common.sh"

# The example project compiles without diagnostics; both files are written
# and the intermediate files are gone.
cp -r "$VODIZ_SOURCE_DIR/data/example" "$tmp/flat"
out=$("$cli" compile "$tmp/flat/flat.lpr") || fail "example: exit code $?"
[ "$out" = "0 errors, 0 warnings" ] || fail "example output: $out"
[ -s "$tmp/flat/flat.lf" ] || fail "no output file"
[ -f "$tmp/flat/flat.err" ] && [ ! -s "$tmp/flat/flat.err" ] || fail "error file missing or not empty"
ls "$tmp/flat"/*.pdc "$tmp/flat"/*.pdl >/dev/null 2>&1 && fail "intermediate files left"
head -3 "$tmp/flat/flat.lf" | cmp -s - <(printf '00A101:CMND:71\r\n00A101:CMND:72\r\n00A101:CMND:A200FFFFFFFF\r\n') ||
    fail "output file start: $(head -3 "$tmp/flat/flat.lf" | od -c | head -3)"
if grep -qv -e ':CMND:' -e '^[0-9A-F]\{6\}:[0-9A-F]\{4\}:[0-9A-F]\{32\}.$' "$tmp/flat/flat.lf"; then
    fail "malformed output line"
fi

# A warning (a link without its section) and an error in another device.
cp -r "$VODIZ_SOURCE_DIR/data/example" "$tmp/bad"
printf 'module rtc_main\r\nProgram;\r\nlinks;\r\nend;\r\nvar;\r\nend;\r\nEndprogram;\r\n' >"$tmp/bad/rtc_main.pd"
sed -i 's/setout(2,1,0,0);/setout(2,1,0);/' "$tmp/bad/rel_kitchen.pd"
out=$("$cli" compile "$tmp/bad/flat.lpr")
[ $? = 1 ] || fail "errors: exit code"
expected='[Error] rel_kitchen.pd(31): Неверный параметр №3 - Delay
[Warning] rtc_main.pd(0): Отсутствует раздел описания скрипта линка "reset"
1 errors, 1 warnings'
[ "$out" = "$expected" ] || fail "errors output: $out"
iconv -f cp1251 -t utf-8 "$tmp/bad/flat.err" | tr -d '\r' | diff - <(head -2 <<<"$expected") >/dev/null ||
    fail "error file: $(iconv -f cp1251 -t utf-8 "$tmp/bad/flat.err")"
grep -q '^00B202:' "$tmp/bad/flat.lf" && fail "a device with an error has output lines"
grep -q '^00D404:' "$tmp/bad/flat.lf" || fail "a device with a warning lost its lines"

out=$("$cli" compile "$tmp/bad/flat.lpr" --no-warnings)
[ "$out" = "[Error] rel_kitchen.pd(31): Неверный параметр №3 - Delay
1 errors, 1 warnings" ] || fail "--no-warnings: $out"
grep -q Warning "$tmp/bad/flat.err" || fail "--no-warnings changed the error file"

# Only warnings: exit 0.
sed -i 's/setout(2,1,0);/setout(2,1,0,0);/' "$tmp/bad/rel_kitchen.pd"
"$cli" compile "$tmp/bad/flat.lpr" >/dev/null || fail "warnings only: exit code $?"

# A project that cannot be opened: the reader's message, exit 2.
printf 'projekt;\r\n' >"$tmp/broken.lpr"
err=$("$cli" compile "$tmp/broken.lpr" 2>&1 >/dev/null)
[ $? = 2 ] || fail "broken project: exit code"
grep -q 'Отсутствует признак начала проекта - "project"' <<<"$err" || fail "broken project message: $err"
"$cli" compile 2>/dev/null; [ $? = 2 ] || fail "no argument: exit code"

[ $failures = 0 ] && echo "compile: all passed"
exit $((failures > 0))
