#!/bin/bash
# Writes a few synthetic files and every dump, survey, details, load, render and export
# output of them into OUTDIR, so a refactoring can be checked byte for byte:
#   scripts/cli_outputs.sh OLD_CLI /tmp/before; scripts/cli_outputs.sh NEW_CLI /tmp/after
#   diff -r /tmp/before /tmp/after
# usage: cli_outputs.sh CLI OUTDIR
CLI=$(realpath $1); O=$2; rm -rf "$O"; mkdir -p "$O"; cd "$O"; O=.
set -u
n=0
run() { n=$((n+1)); local tag=$1; shift; "$CLI" "$@" > "$O/$tag.out" 2> "$O/$tag.err"; echo $? > "$O/$tag.rc"; }
"$CLI" synth "$O/a.ens" --ensembles 60 --bins 20 --bottom-track --navigation --pitch 3 --roll 2 --heading-rate 1 --noise 30 --seed 7 >/dev/null
"$CLI" synth "$O/b.ens" --ensembles 40 --bins 12 --facing up --coords earth --flow-meter --bottom-track --seed 3 >/dev/null
"$CLI" synth "$O/c.ens" --structure nb --ensembles 30 --bins 16 --seed 5 >/dev/null
"$CLI" synth "$O/d.ens" --ensembles 50 --bins 25 --bottom-track --navigation --garbage 40 --garbage-every 7 --bad-checksum-every 11 --drop-every 13 --text-block --seed 9 >/dev/null
"$CLI" synth "$O/e.ens" --structure nb --ensembles 20 --bins 8 --nb-bit7-clear --seed 2 >/dev/null
for f in a b c d e; do
  F="$O/$f.ens"
  run $f.dump dump "$F"; run $f.dumpraw dump "$F" --raw
  for r in bt nav gga vtg wm; do run $f.dump.$r dump "$F" --ref $r --first 3 --count 5; done
  run $f.survey survey "$F"; run $f.details details "$F"
  run $f.load load "$F" --dump-whole --dump-sub
  for code in 1 2 3 4 5 10 20 30 40 50 100 200 300 400 500 600 1000 2000 3000 4000 7 6000 0; do
    for v in whole sub; do for m in 0 1 2 3 4; do
      [ $m != 0 ] && [ $v = whole ] && continue
      run $f.r.$v.$code.$m render "$F" --view $v --code $code --scale-mode $m -o "$O/$f.$v.$code.$m.png" --size 500x300
    done; done
  done
  for r in none bt nav gga vtg wm; do
    run $f.rs.$r render "$F" --view series --series 0-36 --anc 0-7 --series-bins 1,3,5 --ref $r -o "$O/$f.series.$r.png" --size 600x900
    run $f.rp.$r render "$F" --view profile --profile 0-22 --cursor 5 --ref $r -o "$O/$f.profile.$r.png" --size 600x400
    run $f.rw.$r render "$F" --view subwindow --series 0-36 --anc 0-7 --series-bins 2 --profile 0-22 --ref $r -o "$O/$f.subwin.$r.png" --size 900x700
  done
  for k in 0-4 5-9 10-15 16-19 20-25 26-31 32-35; do
    run $f.rsk.$k render "$F" --view series --series $k --series-bins 1,2 -o "$O/$f.seriesk.$k.png" --size 500x500
  done
  for t in $(seq 0 19); do for fmt in txt mat; do
    run $f.ec.$t.$fmt export "$F" -o "$O/$f.ec.$t.$fmt" --kind contour --format $fmt --type $t --first 2 --last 30 --step 3
  done; done
  for fmt in txt mat; do
    run $f.ep.$fmt export "$F" -o "$O/$f.ep.$fmt" --kind profile --format $fmt --types 0-19 --ensemble 4
    for c in "" --calimbro; do
      run $f.es.$fmt$c export "$F" -o "$O/$f.es.$fmt$c" --kind series --format $fmt --types 0-39 --anc 0-7 $c --bins 1,2,7
      run $f.es2.$fmt$c export "$F" -o "$O/$f.es2.$fmt$c" --kind series --format $fmt --types 20-39 --anc 0,4,5 $c
      run $f.es3.$fmt$c export "$F" -o "$O/$f.es3.$fmt$c" --kind series --format $fmt --types 10-15,36,39 $c --first 1 --last 9
    done
  done
done
"$CLI" settings --defaults "$O/defaults.set" > /dev/null
echo "$n commands"
