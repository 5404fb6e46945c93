#!/usr/bin/env bash
# Builds the fuzzers with clang-14 in build-fuzz/ and runs each target named in FUZZ_TARGETS
# (default fuzz_ensembles; FUZZ_TARGET names a single one) for SECONDS seconds in turn.
# The ensemble-file targets (fuzz_ensembles, fuzz_survey, fuzz_loading) share fuzz-corpus/,
# seeded with crafted broadband and narrowband files and, when a built vantrel-cli is at
# hand (VANTREL_CLI, else build/app/cli/vantrel-cli), with small synthetic files of both
# structures, intact and damaged. fuzz_settings uses fuzz-corpus-settings/, seeded with the
# default settings file and copies holding NaN, infinity and huge numbers. Crashes land in
# fuzz-crashes/. Extra arguments go to libFuzzer.
set -euo pipefail
seconds=${1:?usage: scripts/fuzz.sh SECONDS [libFuzzer options]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# float-cast-overflow: a NaN or a huge number turned into an integer is a fault here too.
flags="-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
  -DVANTREL_FUZZ=ON -DVANTREL_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
read -r -a targets <<<"${FUZZ_TARGETS:-${FUZZ_TARGET:-fuzz_ensembles}}"
cmake --build build-fuzz --target "${targets[@]}" -j2

mkdir -p fuzz-corpus fuzz-crashes
python3 - fuzz-corpus <<'PY'
import struct, sys, os
out = sys.argv[1]

def bb(number, bins=2):
    fl = bytearray(59); fl[2] = 16; fl[3] = 5; fl[4:6] = struct.pack('<H', 0x5243); fl[9] = bins
    fl[12:14] = struct.pack('<H', 100); fl[25] = 0x1F; fl[32:34] = struct.pack('<H', 200)
    vl = bytearray(65); vl[0:2] = b'\x80\x00'; vl[2:4] = struct.pack('<H', number); vl[4:11] = bytes([98, 1, 2, 3, 4, 5, 6])
    vel = bytearray(b'\x00\x01' + bytes(8 * bins))
    bt = bytearray(85); bt[0:2] = b'\x00\x06'
    blocks = [fl, vl, vel, bt]
    head = bytearray(b'\x7f\x7f\x00\x00\x00') + bytes([len(blocks)])
    off = len(head) + 2 * len(blocks)
    table = b''
    for b in blocks:
        table += struct.pack('<H', off); off += len(b)
    body = head + table + b''.join(blocks)
    body[2:4] = struct.pack('<H', len(body))
    return bytes(body) + struct.pack('<H', sum(body) & 0xFFFF)

def nb(number, bins=2, config=0x80):
    leader = bytearray(63); leader[0:5] = bytes([0x12, 0x31, 0x23, 0x59, 0x59]); leader[10] = bins; leader[11] = 2
    leader[15:17] = struct.pack('>H', number); leader[18] = config
    sizes = [63, 6 * bins, 4 * bins, 4 * bins, 4 * bins]
    body = bytearray(14); body[2:12] = b''.join(struct.pack('>H', s) for s in sizes)
    body += leader + bytes(range(1, 6 * bins + 1)) + bytes(12 * bins)
    body[0:2] = struct.pack('>H', len(body))
    return bytes(body) + struct.pack('>H', sum(body) & 0xFFFF)

seeds = {
    'bb3': bb(1) + bb(2) + bb(3),
    'bb_gap': bb(1) + b'\x00' * 40 + bb(3) + bb(3) + b'\x7f\x7f\x10',
    'nb3': nb(1) + nb(2, config=0x84) + nb(3, config=0x32),
    'nb_trailing': nb(7) + nb(8) + b'\x3f' * 30,
}
for name, data in seeds.items():
    with open(os.path.join(out, 'seed_' + name), 'wb') as f:
        f.write(data)
PY

cli=${VANTREL_CLI:-build/app/cli/vantrel-cli}
if [ -x "$cli" ]; then
  synth_seeds=(
    "bb --ensembles 3 --bins 4"
    "bb_bt_nav_text --ensembles 3 --bins 3 --bottom-track --navigation --text-block"
    "bb_up_earth --ensembles 3 --bins 5 --facing up --coords earth --convex --beam-angle 30"
    "bb_flow --ensembles 2 --bins 4 --flow-meter"
    "bb_damage --ensembles 8 --bins 2 --garbage 40 --garbage-every 3 --bad-checksum-every 4 --repeat-every 3 --reset-at 6 --truncate-last"
    "nb --structure nb --ensembles 4 --bins 4 --bottom-track"
    "nb_up_earth --structure nb --ensembles 3 --bins 6 --facing up --coords earth --nb-high-range --nb-frequency 0"
    "nb_bit7_clear --structure nb --ensembles 3 --bins 3 --nb-bit7-clear --nb-frequency 5"
    "nb_damage --structure nb --ensembles 10 --bins 2 --garbage 30 --garbage-every 4 --bad-checksum-every 3 --drop-every 5 --repeat-every 4 --truncate-last"
  )
  for seed in "${synth_seeds[@]}"; do
    read -r name args <<<"$seed"
    # shellcheck disable=SC2086
    "$cli" synth "fuzz-corpus/synth_$name" $args >/dev/null
  done
else
  echo "fuzz.sh: no vantrel-cli at $cli; the corpus has the crafted seeds only" >&2
fi

if [ -x "$cli" ]; then
  mkdir -p fuzz-corpus-settings
  defaults=$(mktemp -d)
  "$cli" settings --defaults "$defaults/defaults.txt" >/dev/null
  python3 - "$defaults/defaults.txt" fuzz-corpus-settings <<'PY'
import os, sys
text = open(sys.argv[1], newline='').read()
out = sys.argv[2]
with open(os.path.join(out, 'defaults.txt'), 'w', newline='') as f:
    f.write(text)
lines = text.split('\r\n')
bad = ['nan', 'inf', '-inf', '1e308', '-1e308', '-2147483648', '2147483647', '1e-320', '-nan']
numeric = [i for i, l in enumerate(lines) if i > 0 and l and not l.startswith(('#', '"'))]
for k, i in enumerate(numeric):
    copy = list(lines)
    copy[i] = bad[k % len(bad)]
    with open(os.path.join(out, 'bad_%03d.txt' % i), 'w', newline='') as f:
        f.write('\r\n'.join(copy))
PY
  rm -rf "$defaults"
fi

status=0
for target in "${targets[@]}"; do
  corpus=fuzz-corpus max_len=4096
  if [ "$target" = fuzz_settings ]; then corpus=fuzz-corpus-settings max_len=8192; fi
  mkdir -p "$corpus"
  echo "== $target: $seconds s on $corpus/" >&2
  ./build-fuzz/fuzz/"$target" "$corpus" -max_total_time="$seconds" -max_len="$max_len" \
    -artifact_prefix=fuzz-crashes/ -print_final_stats=1 "$@" || status=$?
done
exit "$status"
