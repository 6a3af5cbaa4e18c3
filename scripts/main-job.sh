#!/usr/bin/env bash
# The main job on a sample GIF of our own making: a 2 x 2 animation of two frames, looping for ever,
# described and split into its frames by imagetool.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
mkdir -p out/sample-frames
sample=out/sample.gif
{
  printf 'GIF89a\x02\x00\x02\x00\xf0\x00\x00'            # 2 x 2 screen, two global colours
  printf '\x00\x00\x00\xff\x80\x00'                      # black, orange
  printf '\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00'    # loop for ever
  printf '\x21\xf9\x04\x04\x32\x00\x00\x00'              # 0.5 s, keep the frame
  printf '\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00'      # frame 1: orange diagonal
  printf '\x02\x03\x0c\x88\x14\x00'
  printf '\x21\xf9\x04\x04\x32\x00\x00\x00'
  printf '\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00'      # frame 2: the other diagonal
  printf '\x02\x03\x44\x18\x14\x00'
  printf '\x3b'
} >"$sample"
imagetool=build/tools/imagetool/imagetool
echo "== imagetool info $sample"
"$imagetool" info "$sample"
echo "== imagetool frames $sample out/sample-frames"
"$imagetool" frames "$sample" out/sample-frames
