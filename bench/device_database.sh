#!/usr/bin/env bash
# Start-up's read of a full device database: 2000 description files plus a 2000-row CSV list,
# generated into a scratch program directory, read by device_load_bench (best of 5 runs),
# next to `cat` of the same bytes. Goal: under 300 ms.
#   bench/device_database.sh [build directory, default build/default]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" --target device_load_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Device"

# The generator: devices shaped like the sample database, each with its own name.
python3 - "$work/Device" <<'PY'
import sys
d = sys.argv[1]
hdr = ["Manufacturer","Name","Group","Package","RAM","Device","Bank","ProgArea","Par","Ser",
       "BootSel","BootWarn","SIF","AlgoS","AlgoP","VCC","Vpp","DispBLVer","EnClrChip","EnClrAll",
       "IDLenMin","IDLenMax","IDLenAdr","aIDAdr","IDRange","aConstIDData","ProtectedBytes",
       "IDCheckFunction","FlashOffset","ChipSpecifics","SpeedSettings"]
ids = "FFFDF, FFFE3, FFFEB, FFFEF, FFFF3, FFFF7, FFFFB"
csv = [";".join('"%s"' % h for h in hdr)]
for i in range(2000):
    banks = ", ".join("%X, 2000" % (0xC0000 + b * 0x2000) for b in range(8))
    open("%s/BENCH%04d.dev" % (d, i), "w", newline="").write("\r\n".join([
        "// generated device %d" % i, "Version = 1", 'Manufacturer = "Bench Maker %d"' % (i % 7),
        'Name = "BENCH%04d"' % i, 'Group = "Group %d"' % (i % 40), 'Package = "QFP100"',
        'Device = "BENCH%04d"' % i, "RAM = 2800", "ROM = 40000", "Bank = " + banks,
        'ProgArea = "DATA FLASH", 2, 1, F000, 800, F800, 800', "ParallelSupport = 0",
        "SerialSupport = 3", "SIFType = S60", 'AlgoS = "S60"', "VCC = 2700 - 5500", "Vpp = VCC",
        "aHWRange = 100, 1000", "IDLenMin = 7", "IDLenMax = 7", "aIDAdr = " + ids,
        "EnableClearChip = 1", 'ProtectedBytes = "Reset vector" FFFFC, FFFFD, FFFFE, FFFFF',
        'SpeedSettings = "Fast", "Medium", "Slow", "Very slow"']) + "\r\n")
    # The list names the same devices: the description files replace them in their slots.
    row = ["Bench Maker %d" % (i % 7), "BENCH%04d" % i, "Group %d" % (i % 40), "QFP100", "10240",
           "BENCH%04d" % i, "".join("%X,2000; " % (0xC0000 + b * 0x2000) for b in range(8)),
           "DATA FLASH, 2, 1, F000, 800, F800, 800", "---", "RW", "0", "0", "S60", "S60", "",
           "2700 - 5500", "0", "1", "1", "0", "7", "7", "0", ids, "0, 0", "", "Reset vector, FFFFC, FFFFD; ",
           "", "0", "", "Fast, Medium, Slow, Very slow"]
    csv.append("".join('"%s";' % f for f in row))
open(d + "/FlashDevices.csv", "w", newline="").write("\r\n".join(csv) + "\r\n")
PY

bench="$build/bin/device_load_bench"
best=""
for _ in 1 2 3 4 5; do
  out=$("$bench" "$work" 2>"$work/messages")
  ms=${out%% ms*}
  if [ -z "$best" ] || awk "BEGIN{exit !($ms < $best)}"; then best=$ms; fi
done
if [ -s "$work/messages" ]; then echo "unexpected messages:"; head -5 "$work/messages"; fi
echo "device database: $(ls "$work/Device" | wc -l) files, $(du -sk "$work/Device" | cut -f1) KB"
echo "read by vantrel (best of 5):  $best ms   ($out)"
start=$(date +%s%N)
cat "$work"/Device/* >/dev/null
end=$(date +%s%N)
echo "cat of the same bytes:        $(awk "BEGIN{printf \"%.1f\", ($end - $start) / 1e6}") ms"
awk "BEGIN{exit !($best < 300)}" && echo "goal (< 300 ms): met" || echo "goal (< 300 ms): NOT met"
