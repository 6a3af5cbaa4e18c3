#!/bin/sh
# Makes the test animations from ffmpeg's own test patterns (kept in git; run again only to change them).
# short.gif: 65x49 (odd sizes on purpose), 20 frames at 10 fps, 2 s.
# long.gif:  64x48, a box moving over a flat background, 600 frames at 10 fps, 60 s.
set -e
cd "$(dirname "$0")"
ffmpeg -hide_banner -nostdin -y -f lavfi -i "testsrc=size=65x49:rate=10:duration=2" \
  -vf "split[a][b];[a]palettegen[p];[b][p]paletteuse" -loop 0 short.gif
ffmpeg -hide_banner -nostdin -y \
  -f lavfi -i "color=c=0x203040:size=64x48:rate=10:duration=60,drawbox=x='mod(t*20,56)':y=20:w=8:h=8:color=yellow:t=fill" \
  -filter_complex "[0:v]split[a][b];[a]palettegen=max_colors=8[p];[b][p]paletteuse" -loop 0 long.gif
