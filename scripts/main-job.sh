#!/usr/bin/env bash
# The main job on a sample GIF of our own making.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
echo "main job: nothing to run yet"
