#!/usr/bin/env bash
# vodiz-cli project and convert, run as a user would. $1: the folder of the programs.
set -u
cli="$1/vodiz-cli"
. "$(dirname "$0")/lib/common.sh"
mkdir "$tmp/p" && cd "$tmp/p" || exit 1

# A new project with devices; the project file is the writer's exact text.
"$cli" project new flat.lpr || fail "new exited with $?"
"$cli" project add-device flat.lpr Hall 300 --uid a1f3 --addr 10 || fail "add Hall exited with $?"
"$cli" project add-device flat.lpr rtc 2000 --uid 12 --addr 11 || fail "add rtc exited with $?"
printf 'project;\r\ndevicecount = 2;\r\ndevice(1);\r\n    alias    = Hall;\r\n    uid      = 00A1F3;\r\n    UniqAddr = 000010;\r\n    cat_num  = 300;\r\n    release  = 0;\r\n    SoftVer  = 0;\r\n    HardVer  = 0;\r\nend;\r\ndevice(2);\r\n    alias    = rtc;\r\n    uid      = 000012;\r\n    UniqAddr = 000011;\r\n    cat_num  = 2000;\r\n    release  = 0;\r\n    SoftVer  = 0;\r\n    HardVer  = 0;\r\nend;\r\nspeed = 0;\r\nendproject;\r\n' >expected.lpr
cmp -s flat.lpr expected.lpr || fail "project file differs: $(od -c flat.lpr | head -5)"
[ "$(sed -n 2p Hall.pd)" = $'module Hall\r' ] || fail "no skeleton for Hall"
[ -s flat.cfg ] || fail "no configuration file"

out=$("$cli" project show flat.lpr --tsv) || fail "show exited with $?"
expected="alias${tab}UID${tab}UniqAddr${tab}cat_num${tab}release${tab}SoftVer${tab}HardVer${tab}inputs${tab}outputs${tab}timers
Hall${tab}00A1F3${tab}000010${tab}300${tab}0${tab}0${tab}0${tab}8${tab}8${tab}0
rtc${tab}000012${tab}000011${tab}2000${tab}0${tab}0${tab}0${tab}0${tab}0${tab}3

link${tab}number${tab}id${tab}description"
[ "$out" = "$expected" ] || fail "show --tsv printed: $out"
"$cli" project show flat.lpr | head -n1 | grep -Eq '^alias +UID +UniqAddr +cat_num' || fail "aligned header"

# Rename and delete carry the programs along.
"$cli" project rename-device flat.lpr hall Lobby || fail "rename exited with $?"
[ -f Lobby.pd ] && [ ! -e Hall.pd ] || fail "program not renamed: $(ls)"
[ "$(sed -n 2p Lobby.pd)" = $'module Lobby\r' ] || fail "module line not rewritten"
"$cli" project delete-device flat.lpr RTC || fail "delete exited with $?"
[ ! -e rtc.pd ] || fail "rtc.pd left behind"
[ "$("$cli" project show flat.lpr --tsv | sed -n 2p | cut -f1)" = Lobby ] || fail "Lobby not listed"
[ "$("$cli" project show flat.lpr --tsv | sed -n 3p)" = "" ] || fail "rtc still listed"

# Refusals leave the project as it was.
cp flat.lpr before.lpr
for bad in "a b" "../x" "con" "Lobby"; do
    "$cli" project add-device flat.lpr "$bad" 300 2>err; code=$?
    [ "$code" = 2 ] || fail "alias '$bad': exit code $code"
    [ -s err ] || fail "alias '$bad': no message"
done
"$cli" project add-device flat.lpr x 300 --uid 1000000 2>/dev/null; [ $? = 2 ] || fail "uid too large accepted"
"$cli" project rename-device flat.lpr nobody y 2>/dev/null; [ $? = 2 ] || fail "rename of a missing device"
"$cli" project rename-device flat.lpr Lobby "a/b" 2>/dev/null; [ $? = 2 ] || fail "rename to a path"
cmp -s flat.lpr before.lpr || fail "a refused change touched the project file"
[ ! -e "$tmp/x.pd" ] || fail "a file escaped the project folder"

# An existing file is overwritten only with --yes.
"$cli" project new flat.lpr 2>err; code=$?
[ "$code" = 1 ] || fail "new over an existing project: exit code $code"
cmp -s flat.lpr before.lpr || fail "project overwritten without --yes"
grep -q 'существует!' err || fail "no overwrite question: $(cat err)"
"$cli" project new flat.lpr --yes 2>/dev/null || fail "new --yes exited with $?"
grep -q 'devicecount = 0;' flat.lpr || fail "not overwritten with --yes"

# Reader failures: the exact message on stderr, exit code 2.
printf 'project;\r\ndevicecount = 1;\r\ndevice(1);\r\n    alias    = Attic;\r\n    uid      = 0;\r\n    UniqAddr = 0;\r\n    cat_num  = 300;\r\n    release  = 0;\r\n    SoftVer  = 0;\r\n    HardVer  = 0;\r\nend;\r\nspeed = 0;\r\nendproject;\r\n' >attic.lpr
"$cli" project show attic.lpr >out 2>err; code=$?
[ "$code" = 2 ] || fail "missing program: exit code $code"
[ "$(cat err)" = 'Отсутствует файл устройства "Attic"' ] || fail "missing program message: $(cat err)"
[ ! -s out ] || fail "output despite the failure"
: >empty.lpr
"$cli" project show empty.lpr 2>err; [ $? = 2 ] || fail "empty file accepted"
[ "$(cat err)" = 'Файл проекта пуст' ] || fail "empty file message: $(cat err)"
"$cli" project show missing.lpr 2>/dev/null; [ $? = 2 ] || fail "missing file accepted"

# Duplicate UIDs are warnings: printed, and the project is shown.
mkdir dup && cd dup || exit 1
"$cli" project new d.lpr && "$cli" project add-device d.lpr a 300 --uid a1 && "$cli" project add-device d.lpr b 300 --uid A1 ||
    fail "cannot build the duplicate project"
out=$("$cli" project show d.lpr --tsv 2>err) || fail "duplicate UID: exit code $?"
[ "$(cat err)" = 'Обнаружено два устройства с UID =0000A1' ] || fail "duplicate warning: $(cat err)"
[ "$(wc -l <<<"$out")" = 5 ] || fail "duplicate project not shown whole: $out"
cd "$tmp/p" || exit 1

# Conversion of the older format.
mkdir old new
{
    printf 'project;\r\ndevicecount = 1;\r\ngroupcount = 0;\r\n\r\n\r\n\r\n\r\n'
    printf 'device(1);\r\nalias = "Hall";\r\ntype = 0x000302;\r\nuid = 0x00A1F3;\r\nUniqAddr = 0x10;\r\n\r\n\r\n\r\n'
    printf 'hardver = 1;\r\nsoftver = 2;\r\n\r\n\r\n\r\n'
} >old/old.lpr
printf 'Program;\r\nEndprogram;\r\n' >old/00A1F3.pd
printf 'x\r\n' >new/stale.txt
"$cli" convert old/old.lpr new/home.lpr 2>err; code=$?
[ "$code" = 1 ] || fail "convert into a non-empty folder without --yes: exit code $code"
[ -f new/stale.txt ] && [ ! -e new/home.lpr ] || fail "folder changed without --yes"
"$cli" convert old/old.lpr new/home.lpr --yes 2>/dev/null || fail "convert --yes exited with $?"
[ ! -e new/stale.txt ] || fail "folder not emptied"
out=$("$cli" project show new/home.lpr --tsv) || fail "converted project does not open"
[ "$(sed -n 2p <<<"$out")" = "Hall${tab}00A1F3${tab}000010${tab}400${tab}1${tab}2${tab}1${tab}4${tab}4${tab}0" ] ||
    fail "converted device: $out"
"$cli" convert flat.lpr other.lpr 2>/dev/null; [ $? = 2 ] || fail "converting a current-format project"

# The example project: shown as shipped, and kept byte for byte by a save.
example="${VODIZ_SOURCE_DIR:?}/data/example"
out=$("$cli" project show "$example/flat.lpr" --tsv 2>err) || fail "example: exit code $?"
[ ! -s err ] || fail "example: messages $(cat err)"
expected="alias${tab}UID${tab}UniqAddr${tab}cat_num${tab}release${tab}SoftVer${tab}HardVer${tab}inputs${tab}outputs${tab}timers
dim_hall${tab}00A101${tab}000011${tab}150${tab}1${tab}3${tab}2${tab}4${tab}4${tab}0
rel_kitchen${tab}00B202${tab}000012${tab}400${tab}1${tab}3${tab}2${tab}4${tab}4${tab}0
inp_door${tab}00C303${tab}000013${tab}550${tab}1${tab}3${tab}2${tab}6${tab}0${tab}0
rtc_main${tab}00D404${tab}000014${tab}2000${tab}1${tab}3${tab}2${tab}0${tab}0${tab}3

link${tab}number${tab}id${tab}description
all_off${tab}0x0001${tab}0x0800${tab}Выключить весь свет
night${tab}0x0002${tab}0x0801${tab}Ночной режим
hall_light${tab}0x0003${tab}0x0802${tab}Свет в прихожей: включить или выключить
morning${tab}0x0004${tab}0x0803${tab}Утро: свет на кухне и в прихожей"
[ "$out" = "$expected" ] || fail "example shown as: $out"
cp -r "$example" "$tmp/example"
"$cli" project add-device "$tmp/example/flat.lpr" extra 300 && "$cli" project delete-device "$tmp/example/flat.lpr" extra ||
    fail "example: add and delete failed"
for f in "$example"/*; do
    cmp -s "$f" "$tmp/example/${f##*/}" || fail "example: ${f##*/} is not as the writer writes it"
done
[ "$(ls "$tmp/example" | wc -l)" = "$(ls "$example" | wc -l)" ] || fail "example: files left behind: $(ls "$tmp/example")"

# Usage errors.
"$cli" project >/dev/null 2>&1; [ $? = 2 ] || fail "no subcommand: expected exit 2"
"$cli" project show >/dev/null 2>&1; [ $? = 2 ] || fail "no file: expected exit 2"
"$cli" project add-device flat.lpr x >/dev/null 2>&1; [ $? = 2 ] || fail "missing CATNUM: expected exit 2"
"$cli" project show flat.lpr --bogus >/dev/null 2>&1; [ $? = 2 ] || fail "unknown option: expected exit 2"

[ "$failures" = 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "project.sh: all passed"
