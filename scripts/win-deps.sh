#!/usr/bin/env bash
# Cross-builds the libraries of the windows configuration from Debian's source packages:
#   scripts/win-deps.sh [--fetch] [i686] [x86_64]
# i686 (the default) into .deps/win32, x86_64 (the 64-bit test build) into .deps/win64; both at
# once when both are named. The sources are fetched once for both into .deps/src. The cache
# (.deps, ignored by git; WIN_DEPS_CACHE names another) is reused by a later run.
#   libjpeg-turbo, libpng, pugixml: upstream tarballs of Debian's source packages (apt-get source)
#   zlib: Debian's libz-mingw-w64-dev;  GoogleTest: /usr/src/googletest
# --fetch only fetches what the named architectures still need (the set-up does it first, once).
# Under a make jobserver (scripts/setup.sh) the builds take their share of its cores; run alone,
# the architectures split the machine's cores between them.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root="${WIN_DEPS_CACHE:-$repo/.deps}"
fetch_only=0
if [ "${1:-}" = --fetch ]; then
  fetch_only=1
  shift
fi
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686)
for arch in "${archs[@]}"; do
  case "$arch" in
    i686|x86_64) ;;
    *) echo "win-deps: unknown architecture $arch" >&2; exit 1 ;;
  esac
done
if [[ "${MAKEFLAGS:-}" == *jobserver* ]]; then
  make_jobs=()
else
  make_jobs=(-j$(( ($(nproc) + ${#archs[@]} - 1) / ${#archs[@]} )))
fi
libraries=(libjpeg-turbo libpng pugixml googletest)
# The library each source package gives.
declare -A library_of=([libjpeg-turbo]=libjpeg-turbo [libpng1.6]=libpng [pugixml]=pugixml)

bits_of() { [ "$1" = i686 ] && echo 32 || echo 64; }
stamp_ok() { [ -f "$root/win$(bits_of "$1")/$2.stamp" ]; }
arch_done() {
  local library
  for library in zlib "${libraries[@]}"; do stamp_ok "$1" "$library" || return 1; done
}

# A private apt configuration for source downloads only, so the machine's own lists stay as they are.
apt_dir="$root/apt"
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")

# Fetches the upstream tarballs of the source packages that an architecture still has to build
# and that are not unpacked yet, in one apt run, and unpacks each into src/<pkg>. Only the .orig tarball is needed: the archive sometimes answers
# 404 for the newest security revision's .dsc or Debian diff while the upstream tarball still arrives.
fetch_sources() {
  local wanted=() pkg arch
  for pkg in "${!library_of[@]}"; do
    [ -d "$root/src/$pkg" ] && continue
    for arch in "${todo[@]}"; do
      stamp_ok "$arch" "${library_of[$pkg]}" || { wanted+=("$pkg"); break; }
    done
  done
  [ ${#wanted[@]} -gt 0 ] || return 0
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$root/src"
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat > "$apt_dir/sources.list" <<EOS
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
EOS
  [ -n "$(ls -A "$apt_dir/lists" 2>/dev/null | grep -v partial)" ] || apt-get "${apt_opts[@]}" update -qq >>"$root/fetch.log" 2>&1
  local dl="$root/src/download"
  rm -rf "$dl"
  mkdir -p "$dl"
  (cd "$dl" && apt-get "${apt_opts[@]}" source --download-only "${wanted[@]}") >>"$root/fetch.log" 2>&1 || true
  for pkg in "${wanted[@]}"; do
    local tarball dir="$root/src/$pkg"
    tarball=$(ls "$dl/${pkg}_"*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1)
    [ -n "$tarball" ] || { echo "win-deps: no upstream tarball for $pkg" >&2; exit 1; }
    rm -rf "$dir.tmp"
    mkdir -p "$dir.tmp"
    tar -xf "$tarball" -C "$dir.tmp" --strip-components=1
    mv "$dir.tmp" "$dir"
  done
  rm -rf "$dl"
}

# One library for one architecture: configured, built and installed into that prefix.
cmake_build() {
  local arch="$1" name="$2" src="$3"; shift 3
  local cache="$root/win$(bits_of "$arch")"
  local bdir="$cache/build/$name" prefix="$cache/prefix"
  rm -rf "$bdir"
  mkdir -p "$cache/build"
  { cmake -S "$src" -B "$bdir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-$arch.cmake" \
        -DWIN_DEPS_PREFIX="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR= \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
    make -C "$bdir" "${make_jobs[@]}" &&
    make -C "$bdir" install; } >"$bdir.log" 2>&1 || { tail -n 40 "$bdir.log" >&2; return 1; }
}

build_arch() {
  local arch="$1" cache="$root/win$(bits_of "$1")"
  local prefix="$cache/prefix" sysroot="/usr/$1-w64-mingw32"
  mkdir -p "$prefix/include" "$prefix/lib"
  if ! stamp_ok "$arch" zlib; then
    [ -f "$sysroot/lib/libz.a" ] || { echo "win-deps: libz-mingw-w64-dev is missing" >&2; return 1; }
    cp "$sysroot/include/zlib.h" "$sysroot/include/zconf.h" "$prefix/include/"
    cp "$sysroot/lib/libz.a" "$prefix/lib/"
    touch "$cache/zlib.stamp"
  fi
  if ! stamp_ok "$arch" libjpeg-turbo; then
    cmake_build "$arch" libjpeg-turbo "$root/src/libjpeg-turbo" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
      -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=ON
    touch "$cache/libjpeg-turbo.stamp"
  fi
  if ! stamp_ok "$arch" libpng; then
    cmake_build "$arch" libpng "$root/src/libpng1.6" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
      -DPNG_EXECUTABLES=OFF -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
      -DSKIP_INSTALL_PROGRAMS=ON
    touch "$cache/libpng.stamp"
  fi
  if ! stamp_ok "$arch" pugixml; then
    cmake_build "$arch" pugixml "$root/src/pugixml" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF
    touch "$cache/pugixml.stamp"
  fi
  if ! stamp_ok "$arch" googletest; then
    cmake_build "$arch" googletest /usr/src/googletest -DBUILD_SHARED_LIBS=OFF -DINSTALL_GTEST=ON -DBUILD_GMOCK=OFF
    touch "$cache/googletest.stamp"
  fi
  echo "win-deps: libraries ready in $prefix"
}

todo=()
for arch in "${archs[@]}"; do arch_done "$arch" || todo+=("$arch"); done
if [ ${#todo[@]} -eq 0 ]; then
  [ $fetch_only = 1 ] || for arch in "${archs[@]}"; do echo "win-deps: libraries ready in $root/win$(bits_of "$arch")/prefix"; done
  exit 0
fi
fetch_sources
[ $fetch_only = 1 ] && exit 0
pids=()
for arch in "${todo[@]}"; do
  build_arch "$arch" &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
