#!/usr/bin/env bash
# Usage: walk_road.sh WALKLIB BINDIR DRIVESIM LANGUAGE OUTDIR
# Walks the user's main road in the real program from BINDIR on Qt's vnc platform (the window
# layer answers boxes by itself on offscreen), in LANGUAGE (ITA or ENG) on a copy of the TK40
# sample saved in that language, with the simulated drive on a pseudo-terminal mapped to COM1 in a
# copy of the registry store. The report and a picture of
# every window land in OUTDIR; exits 0 only when the report ends "road: passed".
set -uo pipefail
lib="$(realpath "$1")"; bin="$(realpath "$2")"; sim="$(realpath "$3")"; language="$4"; out="$(realpath -m "$5")"
case "$language" in
  ITA) langId=0; other=ENG ;;
  ENG) langId=1; other=ITA ;;
  *) echo "unknown language $language"; exit 2 ;;
esac
rm -rf "$out"; mkdir -p "$out/xdg/config" "$out/xdg/runtime"; chmod 700 "$out/xdg/runtime"
work="$(mktemp -d "${TMPDIR:-/tmp}/roadwalk.XXXXXX")"
# ROADWALK_BAUD: the line's speed, the drive's and the sample's (the oscilloscope needs 38400).
baud="${ROADWALK_BAUD:-9600}"
"$sim" --link "$work/ttyDRV" --par "$bin/TKSERIES/TK40.par" --line "$baud",E,8,1 --motion 8 \
       --journal "$out/journal.txt" --delay "${ROADWALK_DELAY:-0}" > "$work/drivesim.out" 2>&1 &
simpid=$!
for _ in $(seq 100); do [ -e "$work/ttyDRV" ] && break; sleep 0.1; done
cp "$bin/registry" "$out/registry"
cat >> "$out/registry" <<REG
[HKEY_LOCAL_MACHINE\Software\MurnApps\SerialPorts]
"COM1"=sz:"$work/ttyDRV"
[HKEY_CURRENT_USER\Software\MurnApps\Tarveskon\Settings]
"LangID"=dword:0000000$langId
"Notepad"=sz:"$out/editor.sh"
REG
# The editor that "opens" a report notes its name.
printf '#!/bin/sh\necho "$1" >> "%s/opened.txt"\n' "$out" > "$out/editor.sh"; chmod +x "$out/editor.sh"
export TARVESKON_REGISTRY="$out/registry" TARVESKON_IPC_NAMESPACE="roadwalk$$"
export XDG_CONFIG_HOME="$out/xdg/config" XDG_RUNTIME_DIR="$out/xdg/runtime"
export QT_QPA_PLATFORM="vnc:size=1280x1024:port=$((20000 + $$ % 20000))"
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
# The sample names the language it was saved in, and opening a file switches to its language:
# the walk opens a copy saved in the walk's language. The simulated drive shares the machine with
# everything else: its replies get a time-out a loaded machine's scheduling does not reach
# (ROADWALK_REPLY_TIMEOUT, in ms).
replyTimeOut="${ROADWALK_REPLY_TIMEOUT:-5000}"
mkdir -p "$out/Samples"
sed -e "s/^LANG\t\"[A-Z]*\"/LANG\t\"$language\"/" -e "s/^\(COMM\t.*COM:1,\)9600,/\1$baud,/" \
    -e "s/^\(COMM\t\"VrnSer:[0-9]*,\)[0-9]*#/\1$replyTimeOut#/" "$bin/Samples/TK40.dat" > "$out/Samples/TK40.dat"
export ROADWALK_OUT="$out" ROADWALK_SAMPLE="$out/Samples/TK40.dat"
export ROADWALK_OWN="$bin/$language.str" ROADWALK_OTHER="$bin/$other.str"
# Only the program gets the driver (a sanitized driver needs the program's sanitizer runtime).
timeout -k 5 "${ROADWALK_TIMEOUT:-600}" env LD_PRELOAD="$lib" "$bin/Tarveskon" > "$out/stdout.txt" 2> "$out/stderr.txt"
rc=$?
kill -TERM "$simpid" 2>/dev/null; wait "$simpid" 2>/dev/null
rm -rf "$work"
cat "$out/road.txt" 2>/dev/null
echo "program exit status $rc; report, pictures and the drive's journal in $out"
if [ "$rc" -ne 0 ]; then
  echo "the program's last words (stderr):"
  tail -n 40 "$out/stderr.txt"
fi
[ "$rc" -eq 0 ] && tail -n 1 "$out/road.txt" 2>/dev/null | grep -q "road: passed$"
