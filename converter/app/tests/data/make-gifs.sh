#!/bin/sh
# Makes the converter tests' own animations from ffmpeg's test pattern (kept in git; run again
# only to change them). one-frame.gif: a still 64x48 picture, a single frame.
set -e
cd "$(dirname "$0")"
ffmpeg -hide_banner -nostdin -y -f lavfi -i "testsrc=size=64x48:rate=10" -frames:v 1 one-frame.gif
