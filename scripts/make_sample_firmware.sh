#!/usr/bin/env bash
# Writes the sample firmware images of examples/Firmware: data for vantrel-sim, not firmware
# that runs on any programmer. One Motorola S-record file per hardware version the emulator
# is usually started with (FW510.mot: 5.10 of a variant other than 0; FW570.mot: 5.70, and 5.10
# of variant 0; FW600.mot: 6.00 and above). The 5.x images span exactly 0xBFF0 bytes, the
# largest those programmers take, so the end marker the program puts behind them lands at 0xBFF0,
# where the emulator looks for the end of a download. Only the start and the last bytes are
# defined; the program sends 0xFF for the gap.
#   scripts/make_sample_firmware.sh [output folder]
set -euo pipefail
out=${1:-"$(dirname "$0")/../examples/Firmware"}
mkdir -p "$out"
python3 - "$out" <<'PY'
import sys

out = sys.argv[1]

def record(kind, address, data, address_bytes):
    body = address.to_bytes(address_bytes, "big") + bytes(data)
    count = len(body) + 1
    checksum = 0xFF - ((count + sum(body)) & 0xFF)
    return "S%d%02X%s%02X\r\n" % (kind, count, body.hex().upper(), checksum)

def image(number, base, span, kind):
    address_bytes = kind + 1
    text = ("Vantrel emulator sample firmware FW%d - data for vantrel-sim, not real firmware"
            % number).encode()
    lines = [record(0, 0, ("FW%d.mot" % number).encode(), 2)]
    body = text + bytes((i * 7 + number) & 0xFF for i in range(4096 - len(text)))
    for offset in range(0, len(body), 32):
        lines.append(record(kind, base + offset, body[offset:offset + 32], address_bytes))
    last = bytes(range(0xF0, 0x100))  # the image's last 16 bytes
    lines.append(record(kind, base + span - len(last), last, address_bytes))
    lines.append(record(10 - kind, base, b"", address_bytes))  # S9 / S8: the start address
    with open("%s/FW%d.mot" % (out, number), "w", newline="") as f:
        f.write("".join(lines))

image(510, 0x4000, 0xBFF0, 1)
image(570, 0x4000, 0xBFF0, 1)
image(600, 0x20000, 0x20000, 2)
PY
echo "sample firmware images written to $out"
