#!/usr/bin/env bash
# Program file speed: vantrel-cli converting a 16 MiB image between Intel HEX and S-record
# (32 data bytes a record) next to srec_cat and objcopy doing the same conversion, and an
# image of 100 000 separate areas loaded and saved.
#   bench/image_files.sh [path/to/vantrel-cli]
# Prints wall and CPU times (user + system) in milliseconds and our share of the other
# tools' times. vantrel-cli spends fixed wall time that has nothing to do with files: the
# bounded wait for a programmer at start-up (about 200 ms) and one 50 ms batch tick per
# command, all asleep; its CPU time is the work itself, so the ratios compare CPU times.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "${1:-build/default/bin/vantrel-cli}")
for tool in srec_cat objcopy awk; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "bench: $cli not built (scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

ms() { # runs a command, prints "wall cpu" in milliseconds
  local TIMEFORMAT='%3R %3U %3S' t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1 ) || { echo "bench: failed: $*" >&2; exit 1; }
  awk -v t="$t" 'BEGIN { split(t, v, " "); printf "%d %d", v[1] * 1000, (v[2] + v[3]) * 1000 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) b = 1; printf "%.2f", a / b }'; }

echo "generating a 16 MiB image ..."
head -c $((16 * 1024 * 1024)) /dev/urandom >big.bin
srec_cat big.bin -binary -offset 0x100000 -o big.hex -Intel -Output_Block_Size=32
srec_cat big.bin -binary -offset 0x100000 -o big.mot -Motorola -Output_Block_Size=32
ls -l big.hex big.mot | awk '{ printf "  %s: %d bytes\n", $9, $5 }'

report() { # name "ours" "srec_cat" "objcopy", each "wall cpu"
  local o=($2) s=($3) b=($4)
  printf "%-22s vantrel-cli %5d ms (cpu %5d)   srec_cat %5d ms (cpu %5d)   objcopy %5d ms (cpu %5d)\n" \
    "$1" "${o[0]}" "${o[1]}" "${s[0]}" "${s[1]}" "${b[0]}" "${b[1]}"
  printf "%-22s cpu: ours/objcopy %s   ours/srec_cat %s   (wall: %s, %s)\n" "" \
    "$(ratio "${o[1]}" "${b[1]}")" "$(ratio "${o[1]}" "${s[1]}")" \
    "$(ratio "${o[0]}" "${b[0]}")" "$(ratio "${o[0]}" "${s[0]}")"
}

ours=$(ms "$cli" -openfilebig.hex -saveasours.mot)
srec=$(ms srec_cat big.hex -Intel -o srec.mot -Motorola -Output_Block_Size=32)
objc=$(ms objcopy -I ihex -O srec big.hex objcopy.mot)
report "Intel HEX -> S-record" "$ours" "$srec" "$objc"
srec_cmp ours.mot -Motorola big.bin -binary -offset 0x100000 2>/dev/null || { echo "bench: wrong output" >&2; exit 1; }

ours=$(ms "$cli" -openfilebig.mot -saveasours.hex)
srec=$(ms srec_cat big.mot -Motorola -o srec.hex -Intel -Output_Block_Size=32)
objc=$(ms objcopy -I srec -O ihex big.mot objcopy.hex)
report "S-record -> Intel HEX" "$ours" "$srec" "$objc"
srec_cmp ours.hex -Intel big.bin -binary -offset 0x100000 2>/dev/null || { echo "bench: wrong output" >&2; exit 1; }

echo "generating 100000 separate areas ..."
awk 'BEGIN {
  for (i = 0; i < 100000; i++) {
    a = i * 8; sum = 9; line = sprintf("S309%08X", a)
    for (k = 0; k < 4; k++) sum += int(a / 256 ^ k) % 256
    for (k = 0; k < 4; k++) { b = (i + k) % 256; sum += b; line = line sprintf("%02X", b) }
    printf "%s%02X\r\n", line, 255 - sum % 256
  }
  printf "S9030000FC\r\n"
}' >areas.mot
ours=$(ms "$cli" -openfileareas.mot -saveasareas.hex)
srec=$(ms srec_cat areas.mot -Motorola -o srec-areas.hex -Intel)
objc=$(ms objcopy -I srec -O ihex areas.mot objcopy-areas.hex)
report "100000 areas" "$ours" "$srec" "$objc"
srec_cmp areas.hex -Intel areas.mot -Motorola 2>/dev/null || { echo "bench: wrong output" >&2; exit 1; }
