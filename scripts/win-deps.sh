#!/usr/bin/env bash
# Cross-builds the libraries of the windows configuration from Debian's source packages into
# .deps/win32 (ignored by git); with "x86_64" as argument, those of the 64-bit test build into
# .deps/win64. A later run with the same versions reuses the cache.
#   libjpeg-turbo, libpng, pugixml: upstream tarballs of Debian's source packages (apt-get source)
#   zlib: Debian's libz-mingw-w64-dev;  GoogleTest: /usr/src/googletest
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
arch="${1:-i686}"
case "$arch" in
  i686) bits=32 ;;
  x86_64) bits=64 ;;
  *) echo "win-deps: unknown architecture $arch" >&2; exit 1 ;;
esac
cache="${WIN_DEPS_CACHE:-$repo/.deps/win$bits}"
prefix="$cache/prefix"
toolchain="$repo/cmake/mingw-$arch.cmake"
jobs=$(nproc)
mkdir -p "$cache/src" "$cache/build" "$prefix"

# A private apt configuration for source downloads only, so the machine's own lists stay as they are.
apt_dir="$cache/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat > "$apt_dir/sources.list" <<EOS
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
EOS
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")

stamp_ok() { [ -f "$cache/$1.stamp" ]; }
stamp() { touch "$cache/$1.stamp"; }

# Fetches a source package's upstream tarball and unpacks it into src/<pkg>; prints the folder.
# Only the .orig tarball is needed: the archive sometimes answers 404 for the newest security
# revision's .dsc or Debian diff while the upstream tarball still arrives.
fetch_source() {
  local pkg="$1" dir="$cache/src/$1"
  if [ ! -d "$dir" ]; then
    [ -n "$(ls -A "$apt_dir/lists" 2>/dev/null | grep -v partial)" ] || apt-get "${apt_opts[@]}" update -qq >>"$cache/fetch.log" 2>&1
    local dl="$cache/src/dl-$pkg"
    mkdir -p "$dl"
    (cd "$dl" && apt-get "${apt_opts[@]}" source --download-only "$pkg") >>"$cache/fetch.log" 2>&1 || true
    local tarball
    tarball=$(ls "$dl"/*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1)
    [ -n "$tarball" ] || { echo "win-deps: no upstream tarball for $pkg" >&2; exit 1; }
    mkdir -p "$dir.tmp"
    tar -xf "$tarball" -C "$dir.tmp" --strip-components=1
    mv "$dir.tmp" "$dir"
    rm -rf "$dl"
  fi
  echo "$dir"
}

cmake_build() {
  local name="$1" src="$2"; shift 2
  local bdir="$cache/build/$name"
  rm -rf "$bdir"
  cmake -S "$src" -B "$bdir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DWIN_DEPS_PREFIX="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR= \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$bdir.log" 2>&1 \
    || { tail -n 40 "$bdir.log" >&2; exit 1; }
  cmake --build "$bdir" -j"$jobs" >>"$bdir.log" 2>&1 || { tail -n 40 "$bdir.log" >&2; exit 1; }
  cmake --install "$bdir" >>"$bdir.log" 2>&1 || { tail -n 40 "$bdir.log" >&2; exit 1; }
}

if ! stamp_ok zlib; then
  sysroot="/usr/$arch-w64-mingw32"
  [ -f "$sysroot/lib/libz.a" ] || { echo "win-deps: libz-mingw-w64-dev is missing" >&2; exit 1; }
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$sysroot/include/zlib.h" "$sysroot/include/zconf.h" "$prefix/include/"
  cp "$sysroot/lib/libz.a" "$prefix/lib/"
  stamp zlib
fi

if ! stamp_ok libjpeg-turbo; then
  src=$(fetch_source libjpeg-turbo)
  cmake_build libjpeg-turbo "$src" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=ON
  stamp libjpeg-turbo
fi

if ! stamp_ok libpng; then
  src=$(fetch_source libpng1.6)
  cmake_build libpng "$src" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" -DSKIP_INSTALL_PROGRAMS=ON
  stamp libpng
fi

if ! stamp_ok pugixml; then
  src=$(fetch_source pugixml)
  cmake_build pugixml "$src" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF
  stamp pugixml
fi

if ! stamp_ok googletest; then
  cmake_build googletest /usr/src/googletest -DBUILD_SHARED_LIBS=OFF -DINSTALL_GTEST=ON -DBUILD_GMOCK=ON
  stamp googletest
fi
echo "win-deps: libraries ready in $prefix"
