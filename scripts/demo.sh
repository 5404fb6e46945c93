#!/usr/bin/env bash
# Builds a synthetic ensemble file, summarises its dump and draws two of its charts.
# usage: scripts/demo.sh CLI OUTDIR
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 CLI OUTDIR" >&2
  exit 1
fi
cli=$1
outdir=$2
mkdir -p "$outdir"
demo="$outdir/demo.ens"

"$cli" synth "$demo" --ensembles 2000 --bottom-track --navigation --coords earth \
  --pitch 3 --roll 2 --noise 15 --seed 2024 \
  --garbage 500 --garbage-every 400 --bad-checksum-every 250 --drop-every 333 --truncate-last

"$cli" dump "$demo" | /usr/bin/python3 -c '
import json, sys

count = 0
first = last = None
bins = bin_size = None
sum_e = sum_n = 0.0
cells = 0
for line in sys.stdin:
    ens = json.loads(line)
    count += 1
    if first is None:
        first = ens
    last = ens
    bins, bin_size = ens["Num_Bins"], ens["Bin_Size"]
    ship = ens["Sub_BT_Vel"]  # the bottom moves against the ship; decoded, it is the ship
    for cell in ens["Sub_Vel"]:
        if -32768 in cell[:2] or -32768 in ship[:2]:
            continue
        # Water relative to the instrument plus the ship: water over the ground.
        sum_e += cell[0] + ship[0]
        sum_n += cell[1] + ship[1]
        cells += 1

def when(t):
    return "{:02d}-{:02d}-{:02d} {:02d}:{:02d}:{:02d}.{:02d}".format(*t)

if count == 0:
    sys.exit("no ensembles in the dump")
print("ensembles:       {}".format(count))
print("first ensemble:  {} at {}".format(first["Sub_Ens_Number"], when(first["Sub_Time"])))
print("last ensemble:   {} at {}".format(last["Sub_Ens_Number"], when(last["Sub_Time"])))
print("bins:            {} of {:.2f} m".format(bins, bin_size))
if cells:
    print("mean velocity:   east {:.0f} mm/s, north {:.0f} mm/s over {} cells".format(sum_e / cells, sum_n / cells, cells))
'

# The Whole Set contour and the Sub Set window as pictures.
whole="$outdir/whole.png"
subwindow="$outdir/subwindow.png"
# They are this script's own, and render refuses to write over a file: a second run draws them anew.
rm -f "$whole" "$subwindow"
"$cli" render "$demo" --view whole -o "$whole" >/dev/null
"$cli" render "$demo" --view subwindow -o "$subwindow" --cursor 128 --series-bins 3,20 --series 10,11,20 --anc 0,1,3 >/dev/null
echo "pictures:        $whole"
echo "                 $subwindow"
