#!/usr/bin/env bash
# vodiz-cli scan against vodiz-cli sim on a pseudo-terminal, run as a user
# would. $1: the folder of the programs.
set -u
cli="$1/vodiz-cli"
. "$(dirname "$0")/lib/sim.sh"

cat >"$tmp/net.txt" <<'NET'
# modem and four devices
modem uid=00A001 addr=0022
device uid=001001 addr=0010 cat=100 release=1 soft=258 hard=2 boot=3 scan=both
device uid=001002 addr=0011 cat=300 release=2 soft=513 hard=1 boot=4 scan=1
device uid=001003 addr=0012 cat=1010 scan=0
device uid=001004 addr=0013 type=00050100 scan=0
NET
expected="nmbr${tab}catN${tab}name${tab}UIDhex${tab}UAddrHex${tab}BootVer${tab}HardVer${tab}SoftVer
1${tab}100${tab}Диммер 8 каналов${tab}00-1001${tab}000010${tab}0${tab}0${tab}0
2${tab}1010${tab}Шлюз X10${tab}00-1003${tab}000012${tab}0${tab}0${tab}0
3${tab}3${tab}Неизвестный каталожный номер${tab}00-1004${tab}000013${tab}0${tab}0${tab}0
4${tab}300${tab}Реле 8 каналов${tab}00-1002${tab}000011${tab}4${tab}1${tab}513"

# Devices answering the same scan may arrive in any order: compare the rows
# without their running number, sorted, and check that the numbers run 1..n.
same_rows() {
    local got="$1" want="$2"
    [ "$(cut -f1 <<<"$got" | tail -n +2 | tr '\n' ' ')" = "$(seq -s ' ' 1 $(($(wc -l <<<"$got") - 1))) " ] &&
        [ "$(head -1 <<<"$got")" = "$(head -1 <<<"$want")" ] &&
        [ "$(tail -n +2 <<<"$got" | cut -f2- | sort)" = "$(tail -n +2 <<<"$want" | cut -f2- | sort)" ]
}

# Exactly the simulated devices: mode-0 types mapped, mode-1 merged, the
# modem's own entry left out; the packet log goes to --log-dir.
start_sim --network "$tmp/net.txt"
out=$("$cli" scan --port "$port" --detect-time 1 --log-dir "$tmp/logs" --tsv) || fail "scan exited with $?"
same_rows "$out" "$expected" || fail "scan rows:"$'\n'"$out"
log="$tmp/logs/Логирование/Все отправленные и принятые пакеты.log"
[ -s "$log" ] || fail "no packet log in --log-dir"
iconv -f cp1251 -t utf-8 "$log" | grep -q 'Автодетект Модем : UID = 1004, cat = 050100, uaddr = 0013' ||
    fail "no detection line in the log"
if iconv -f cp1251 -t utf-8 "$log" | grep -q $'[^\r]$'; then fail "log lines not ended by CR LF"; fi

# Aligned columns by default.
out=$("$cli" scan --port "$port" --detect-time 1 --log-dir "$tmp/logs") || fail "aligned scan exited with $?"
grep -Eq '^4 +300 +Реле 8 каналов +00-1002 +000011 +4 +1 +513$' <<<"$out" || fail "aligned rows: $out"

# The same under faults on the bus: slow answers, noise between frames.
start_sim --network "$tmp/net.txt" --latency 20 --garbage
out=$("$cli" scan --port "$port" --detect-time 1 --log-dir "$tmp/logs" --tsv) || fail "faulty scan exited with $?"
same_rows "$out" "$expected" || fail "rows under faults:"$'\n'"$out"

# Nothing answers on the bus: exit 1 with the detector's message.
printf 'modem uid=00A001\n' >"$tmp/empty.txt"
start_sim --network "$tmp/empty.txt"
out=$("$cli" scan --port "$port" --detect-time 1 --log-dir "$tmp/logs" 2>"$tmp/err")
rc=$?
[ $rc = 1 ] || fail "empty bus exit $rc"
grep -q 'Устройства в сети не найдены !' "$tmp/err" || fail "empty bus message: $(cat "$tmp/err")"
[ -z "$out" ] || fail "empty bus printed rows: $out"

# A modem that fails identification (UID above 100000): exit 2 after the
# speed search, with the reason in the packet log.
start_sim --network "$tmp/net.txt" --modem-uid 186A1
"$cli" scan --port "$port" --detect-time 1 --log-dir "$tmp/logs" 2>"$tmp/err"
rc=$?
[ $rc = 2 ] || fail "unidentified modem exit $rc"
grep -q 'no modem answers' "$tmp/err" || fail "unidentified modem message: $(cat "$tmp/err")"
iconv -f cp1251 -t utf-8 "$log" | grep -q 'Error F3: Ошибка инициализации модема (UID = 0186A1)' ||
    fail "no identification error in the log"

# A port that cannot be opened, and usage errors: exit 2.
"$cli" scan --port /dev/nonexistent-port --log-dir "$tmp/logs" 2>"$tmp/err"
rc=$?
[ $rc = 2 ] || fail "missing port exit $rc"
grep -q 'nonexistent-port' "$tmp/err" || fail "missing port message: $(cat "$tmp/err")"
"$cli" scan --log-dir "$tmp/logs" 2>/dev/null
[ $? = 2 ] || fail "scan without --port not refused"
"$cli" scan --port "$port" --uart 6 2>/dev/null
[ $? = 2 ] || fail "--uart 6 not refused"
"$cli" sim --network "$tmp/missing.txt" </dev/null >/dev/null 2>&1
[ $? = 2 ] || fail "sim with a missing network file not refused"
printf 'device uid=1 scan=3\n' >"$tmp/bad.txt"
"$cli" sim --network "$tmp/bad.txt" </dev/null >/dev/null 2>"$tmp/err"
[ $? = 2 ] || fail "sim with a bad network file not refused"
grep -q 'строка 1' "$tmp/err" || fail "bad network message: $(cat "$tmp/err")"

exit $((failures > 0))
