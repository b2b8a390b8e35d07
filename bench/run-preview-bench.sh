#!/usr/bin/env bash
# `brimwell-cli preview` as a whole process (start, load, draw, PNG written) on a 360 x 360
# logo, next to ImageMagick's convert drawing the same picture (label area, logo at (240, 10),
# six turned texts). Uses hyperfine when it is installed, else a loop of 20 runs; prints
# medians.
#   bench/run-preview-bench.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
cli=$(realpath "$build/cli/brimwell-cli")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
keep=${KEEP_PICTURES:-}
cd "$dir"

convert -size 360x360 xc:white -fill black -draw "circle 180,180 180,40" \
    -fill white -draw "rectangle 150,150 210,210" -type truecolor BMP3:logo.bmp

# The same drawing with ImageMagick: Liberation Sans at Arial's 28-pixel cell (25-pixel em),
# each text turned a quarter clockwise with its cell left of its x.
im=(convert -size 610x380 xc:white -fill none -stroke black -draw "rectangle 0,0 609,379"
    logo.bmp -geometry +240+10 -composite -stroke none -fill black -font Liberation-Sans
    -pointsize 25)
for t in "220:--  CENTRE  CABLE  HERE  --" "160:Label Title" "130:Product Detail" \
         "100:etc." "70:etc." "40:etc."; do
    im+=(-draw "translate ${t%%:*},40 rotate 90 text 0,23 '${t#*:}'")
done
im+=(im.png)

if command -v hyperfine >/dev/null; then
    hyperfine --warmup 3 --runs 30 --export-json times.json \
        "$cli preview logo.bmp --png cli.png" "$(printf '%q ' "${im[@]}")" >/dev/null
    python3 -c '
import json, sys
for r in json.load(open("times.json"))["results"]:
    print("%-14s median %7.1f ms" % (("brimwell-cli" if "brimwell-cli" in r["command"] else "convert"), r["median"] * 1000))'
    [ -n "$keep" ] && cp cli.png im.png "$keep"/
else
    median() {
        local times=()
        for _ in $(seq 20); do
            local s=$(date +%s%N)
            "$@" >/dev/null 2>&1
            times+=($((($(date +%s%N) - s) / 1000)))
        done
        printf '%s\n' "${times[@]}" | sort -n | sed -n 10p
    }
    echo "brimwell-cli   median $(median "$cli" preview logo.bmp --png cli.png) us"
    echo "convert        median $(median "${im[@]}") us"
fi
