#!/usr/bin/env bash
# vodiz-cli program against vodiz-cli sim on a pseudo-terminal, with the
# example project and a hand-written output file. $1: the folder of the programs.
set -u
cli="$1/vodiz-cli"
src="${VODIZ_SOURCE_DIR:?}"
. "$(dirname "$0")/lib/sim.sh"

proj="$tmp/flat"
mkdir -p "$proj"
cp "$src"/data/example/* "$proj/"
cp "$src/tests/network/data/flat.lf" "$proj/flat.lf"
touch "$proj/flat.lf"
net="$src/data/example/sim-network.txt"
logs="$tmp/logs"

# Packets of a device in the output: one per configuration command, three
# per code line.
packets_of() { awk -v u="$1" 'index($0, u) == 1 { n += ($0 ~ /^......:CMND:/) ? 1 : 3 } END { print n + 0 }' "$proj/flat.lf"; }
all=$(( $(packets_of 00A101) + $(packets_of 00B202) + $(packets_of 00C303) + $(packets_of 00D404) ))
proglog() { ls "$logs"/Лог\ программирования\ *.log 2>/dev/null | tail -1; }

# Every device: exit 0, nothing but the final message on stdout, and the
# programming log with the start line and one OK line per packet.
start_sim --network "$net"
out=$("$cli" program "$proj/flat.lpr" --port "$port" --log-dir "$logs" 2>"$tmp/err") || fail "program exited with $?: $(cat "$tmp/err")"
[ "$out" = "Устройство(а) успешно запрограммированы!" ] || fail "stdout: $out"
log=$(proglog)
[ -n "$log" ] || fail "no programming log in --log-dir"
grep -q "Лог программирования: " "$tmp/err" || fail "log path not told"
text=$(iconv -f cp1251 -t utf-8 "$log" | tr -d '\r')
[ "$(head -1 <<<"$text")" = "Старт программирования устройств" ] || fail "first log line: $(head -1 <<<"$text")"
[ "$(grep -c ' - Команда: .* - OK$' <<<"$text")" = "$all" ] || fail "OK lines $(grep -c ' - OK$' <<<"$text"), packets $all"
[ "$(sed -n 2p <<<"$text" | sed 's/^.* - Команда: //')" = "71 - OK" ] || fail "second log line: $(sed -n 2p <<<"$text")"
[ -s "$logs/Логирование/Все отправленные и принятые пакеты.log" ] || fail "no packet log in --log-dir"

# One named device: only its packets.
rm -f "$logs"/Лог\ программирования*
out=$("$cli" program "$proj/flat.lpr" --port "$port" --device REL_kitchen --log-dir "$logs" 2>"$tmp/err") ||
    fail "one device exited with $?: $(cat "$tmp/err")"
n=$(iconv -f cp1251 -t utf-8 "$(proglog)" | grep -c ' - OK')
[ "$n" = "$(packets_of 00B202)" ] || fail "one device sent $n packets"

# A device that falls silent: a line per failed packet, the run goes on, the
# error count in the final message, exit 1.
start_sim --network "$net" --mute 00C303:$(( $(packets_of 00C303) - 2 ))
rm -f "$logs"/Лог\ программирования*
out=$("$cli" program "$proj/flat.lpr" --port "$port" --device inp_door --device rtc_main --log-dir "$logs" 2>"$tmp/err")
rc=$?
[ $rc = 1 ] || fail "silent device exit $rc"
[ "$(grep -c ' - Ошибка!$' <<<"$out")" = 2 ] || fail "failed lines: $out"
[ "$(tail -1 <<<"$out")" = "Внимание! Устройство(а) запрограммированы с 2 ошибками!" ] || fail "final line: $out"
n=$(iconv -f cp1251 -t utf-8 "$(proglog)" | grep -c ' - OK')
[ "$n" = $(( $(packets_of 00C303) + $(packets_of 00D404) - 2 )) ] || fail "acknowledged $n"

# An interrupt ends the run after the packet in progress: a device that
# never answers keeps it waiting, Ctrl+C stops it, no programming log.
sed 's/^device uid=00B202.*/device uid=00B202 addr=0012 cat=400 silent/' "$net" >"$tmp/silent.txt"
start_sim --network "$tmp/silent.txt"
rm -rf "$logs"
"$cli" program "$proj/flat.lpr" --port "$port" --device rel_kitchen --log-dir "$logs" >"$tmp/out" 2>"$tmp/err" &
pid=$!
plog="$logs/Логирование/Все отправленные и принятые пакеты.log"
for _ in $(seq 100); do
    iconv -f cp1251 -t utf-8 "$plog" 2>/dev/null | grep -q '<<     55 00 00 B2 02' && break
    sleep 0.1
done
kill -INT $pid
wait $pid
rc=$?
[ $rc = 1 ] || fail "interrupted run exit $rc"
grep -Eq '^[0-9:]+ - Команда: 71 - Ошибка!$' "$tmp/out" || fail "interrupted packet line: $(cat "$tmp/out")"
[ "$(tail -1 "$tmp/out")" = "Программирование устройств остановлено!" ] || fail "interrupted stdout: $(cat "$tmp/out")"
[ -z "$(proglog)" ] || fail "a stopped run saved its log"

# The example compiled by vodiz-cli compile goes in whole as well.
comp="$tmp/compiled"
mkdir -p "$comp"
cp "$src"/data/example/* "$comp/"
"$cli" compile "$comp/flat.lpr" >"$tmp/compile.out" 2>&1 || fail "compile of the example: $(cat "$tmp/compile.out")"
start_sim --network "$net"
rm -rf "$logs"
out=$("$cli" program "$comp/flat.lpr" --port "$port" --log-dir "$logs" 2>"$tmp/err") ||
    fail "compiled example exited with $?: $out $(cat "$tmp/err")"
compiled=$(awk '{ n += ($0 ~ /^......:CMND:/) ? 1 : 3 } END { print n + 0 }' "$comp/flat.lf")
n=$(iconv -f cp1251 -t utf-8 "$(proglog)" | grep -c ' - OK')
[ "$n" = "$compiled" ] && [ "$n" -gt 0 ] || fail "compiled example: $n of $compiled packets acknowledged"

# Refusals, exit 2: unknown device, no output file, output older than a
# program file, a broken output line, usage.
start_sim --network "$net"
"$cli" program "$proj/flat.lpr" --port "$port" --device nosuch 2>"$tmp/err"
[ $? = 2 ] || fail "unknown device not refused"
grep -q 'Устройство nosuch не найдено в проекте' "$tmp/err" || fail "unknown device message: $(cat "$tmp/err")"
touch -d '+2 seconds' "$proj/rtc_main.pd"
"$cli" program "$proj/flat.lpr" --port "$port" 2>"$tmp/err"
[ $? = 2 ] || fail "stale output not refused"
grep -q 'flat.lf старше файла rtc_main.pd: сначала выполните vodiz-cli compile' "$tmp/err" || fail "stale message: $(cat "$tmp/err")"
touch -d '+4 seconds' "$proj/flat.lf"
printf '00A101:CMND:71\r\n00A1\r\n' >"$proj/short.lf"
touch -d '+4 seconds' "$proj/short.lf"
mv "$proj/flat.lf" "$proj/flat.keep"
"$cli" program "$proj/flat.lpr" --port "$port" 2>"$tmp/err"
[ $? = 2 ] || fail "missing output not refused"
grep -q 'flat.lf не найден: сначала выполните vodiz-cli compile' "$tmp/err" || fail "missing output message: $(cat "$tmp/err")"
mv "$proj/short.lf" "$proj/flat.lf"
"$cli" program "$proj/flat.lpr" --port "$port" 2>"$tmp/err"
[ $? = 2 ] || fail "short line not refused"
grep -q 'Ошибка в длине строки файла!' "$tmp/err" || fail "short line message: $(cat "$tmp/err")"
printf '00A101:CMND:71\r\n00A101:CMND:7G00\r\n' >"$proj/flat.lf"
touch -d '+4 seconds' "$proj/flat.lf"
out=$("$cli" program "$proj/flat.lpr" --port "$port" --log-dir "$logs" 2>"$tmp/err")
[ $? = 2 ] || fail "packet that is not hexadecimal not refused"
grep -q 'Ошибка в команде "7G00"' <<<"$out" || fail "bad packet message: $out"
mv "$proj/flat.keep" "$proj/flat.lf"
"$cli" program "$proj/flat.lpr" --port /dev/nonexistent-port --log-dir "$logs" 2>"$tmp/err"
[ $? = 2 ] || fail "missing port not refused"
"$cli" program "$proj/flat.lpr" 2>/dev/null
[ $? = 2 ] || fail "program without --port not refused"
"$cli" program "$tmp/none.lpr" --port "$port" 2>/dev/null
[ $? = 2 ] || fail "missing project not refused"

exit $((failures > 0))
