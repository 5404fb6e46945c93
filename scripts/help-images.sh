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
  "$gui" --screenshot "$out/vantrel-$name.png" --window "$name" "$work/demo.ens"
done
