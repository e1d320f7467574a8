#!/usr/bin/env bash
# Program file speed: vantrel-cli converting a 16 MiB image between Intel HEX and S-record
# (32 data bytes a record) next to srec_cat and objcopy doing the same conversion, and an
# image of 100 000 separate areas loaded and saved.
#   bench/image_files.sh [path/to/vantrel-cli]      (RUNS=n: best of n runs, 3 unless set)
# Prints for each tool the wall time of the whole process (what a user waits for: start-up,
# the conversion, the settings saved at the end) and its CPU time (user + system), in
# milliseconds, each the best of RUNS runs, and our share of the other tools' times.
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

runs=${RUNS:-3}
ms() { # runs a command RUNS times, prints the best "wall cpu" in milliseconds
  local TIMEFORMAT='%3R %3U %3S' t all=""
  for ((i = 0; i < runs; i++)); do
    t=$( { time "$@" >/dev/null 2>&1; } 2>&1 ) || { echo "bench: failed: $*" >&2; exit 1; }
    all="$all $t"
  done
  awk -v t="$all" 'BEGIN {
    n = split(t, v, " ")
    for (i = 1; i <= n; i += 3) {
      w = v[i] * 1000; c = (v[i + 1] + v[i + 2]) * 1000
      if (i == 1 || w < wall) wall = w
      if (i == 1 || c < cpu) cpu = c
    }
    printf "%d %d", wall, cpu }'
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
  printf "%-22s wall: ours/objcopy %s   ours/srec_cat %s   cpu: ours/objcopy %s   ours/srec_cat %s\n" "" \
    "$(ratio "${o[0]}" "${b[0]}")" "$(ratio "${o[0]}" "${s[0]}")" \
    "$(ratio "${o[1]}" "${b[1]}")" "$(ratio "${o[1]}" "${s[1]}")"
}

# What every run costs besides the file: start-up, batch and shutdown.
printf 'S1131000000102030405060708090A0B0C0D0E0F64\r\nS9030000FC\r\n' >tiny.mot
ours=$(ms "$cli" -openfiletiny.mot -saveastiny.hex)
srec=$(ms srec_cat tiny.mot -Motorola -o srec-tiny.hex -Intel)
objc=$(ms objcopy -I srec -O ihex tiny.mot objcopy-tiny.hex)
report "16 bytes S-rec -> HEX" "$ours" "$srec" "$objc"

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
