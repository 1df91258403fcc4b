#!/bin/sh
# Draws the application icon (a play triangle on a sunny disc) at three sizes.
set -eu
cd "$(dirname "$0")"
tmp=$(mktemp -d)
for s in 16 32 48; do
  convert -size 256x256 xc:none \
    -fill '#ffb400' -draw 'circle 128,128 128,8' \
    -fill '#ff6a3d' -draw 'circle 128,128 128,40' \
    -fill white -draw 'polygon 100,78 100,178 186,128' \
    -resize ${s}x${s} "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" tovali.ico
rm -rf "$tmp"
