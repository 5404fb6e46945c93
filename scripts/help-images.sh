#!/usr/bin/env bash
# Makes the pictures of the help page (docs/help.md) from the demo file.
# usage: scripts/help-images.sh [BUILD]   (after make build)
set -euo pipefail
build=${1:-build}
gui="$build/app/gui/vantrel"
cli="$build/app/cli/vantrel-cli"
out=docs/images
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash scripts/demo.sh "$cli" "$work" >/dev/null
export QT_QPA_PLATFORM=offscreen
for name in main information details viewer; do
  rm -f "$out/vantrel-$name.png"  # a picture is never written over
  "$gui" --screenshot "$out/vantrel-$name.png" --window "$name" "$work/demo.ens"
done
