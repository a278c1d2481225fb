#!/usr/bin/env python3
"""compare-renders.py REFERENCE.wav OTHER.wav [--identical]: compares two
32-bit float WAV renders of the same signal and settings. Prints the largest
difference relative to the reference's RMS and the share of bit-identical
samples; fails if the difference exceeds 1e-4 of the RMS (-80 dB), or, with
--identical, if any sample differs in any bit."""
import math
import struct
import sys

TOLERANCE = 1e-4


def samples(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"{path}: not a WAV file")
    at, fmt = 12, None
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        body = data[at + 8:at + 8 + size]
        if kind == b"fmt ":
            fmt = struct.unpack_from("<HHIIHH", body)
        elif kind == b"data":
            if fmt is None or fmt[0] not in (3, 0xFFFE) or fmt[5] != 32:
                sys.exit(f"{path}: not a 32-bit float WAV")
            return fmt[1], fmt[2], body[: len(body) // 4 * 4]
        at += 8 + size + (size & 1)
    sys.exit(f"{path}: no sample data")


def main():
    reference_path, other_path = sys.argv[1], sys.argv[2]
    identical_required = "--identical" in sys.argv[3:]
    ref_channels, ref_rate, ref_bytes = samples(reference_path)
    other_channels, other_rate, other_bytes = samples(other_path)
    if (ref_channels, ref_rate, len(ref_bytes)) != (other_channels, other_rate, len(other_bytes)):
        sys.exit(f"{other_path}: shape differs from {reference_path}")
    count = len(ref_bytes) // 4
    ref = struct.unpack(f"<{count}f", ref_bytes)
    other = struct.unpack(f"<{count}f", other_bytes)
    same = sum(1 for i in range(count) if ref_bytes[4 * i:4 * i + 4] == other_bytes[4 * i:4 * i + 4])
    rms = math.sqrt(sum(x * x for x in ref) / count) if count else 0.0
    worst = max((abs(a - b) for a, b in zip(ref, other)), default=0.0)
    relative = worst / rms if rms > 0 else (0.0 if worst == 0 else math.inf)
    relative_db = 20 * math.log10(relative) if relative > 0 else -math.inf
    print(f"{other_path}: largest difference {worst:.3g} = {relative_db:.1f} dB of the RMS {rms:.4g}; "
          f"{same}/{count} samples ({100.0 * same / max(count, 1):.2f} %) bit-identical")
    if identical_required and same != count:
        sys.exit(f"{other_path}: expected every sample bit-identical to {reference_path}")
    if relative > TOLERANCE:
        sys.exit(f"{other_path}: differs from {reference_path} by more than {TOLERANCE} of the RMS")


main()
