# Sourced by the scripts that run Windows programs. The programs are 32-bit; a machine whose
# kernel runs no 32-bit code (ia32 emulation off) cannot start Wine's 32-bit loader, so there the
# same sources are built and run as 64-bit programs instead. Sets win_build (the build folder
# whose programs run here) and, on such a machine, puts `wine` and `wineboot` for the 64-bit
# loader first on PATH.
. "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/wine-loader.sh"
if wine32_runs; then
  win_build=build-win
else
  win_build=build-win64
  PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64:$PATH"
  export PATH WINELOADER=/usr/lib/wine/wine64
fi
