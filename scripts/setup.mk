# The set-up's builds as one graph under one make jobserver, so that they run at once and share
# the machine's cores without taking more: scripts/setup.sh runs it as
#   make -f scripts/setup.mk -j<cores> WIN_BUILDS="build-win [build-win64]"
# The native configurations need nothing else; a windows one needs its architecture's libraries,
# whose sources are fetched once for both.
WIN_BUILDS ?= build-win
WIN_ARCHS := $(patsubst build-win,i686,$(patsubst build-win64,x86_64,$(WIN_BUILDS)))

.PHONY: all sources libraries-i686 libraries-x86_64 build build-asan build-win build-win64
all: build build-asan $(WIN_BUILDS)

sources:
	@scripts/win-deps.sh --fetch $(WIN_ARCHS)
libraries-i686 libraries-x86_64: sources
	+@scripts/win-deps.sh $(@:libraries-%=%)

build:
	+@scripts/build-config.sh build
build-asan:
	+@scripts/build-config.sh build-asan -DSANITIZE=ON
build-win: libraries-i686
	+@scripts/build-config.sh build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
build-win64: libraries-x86_64
	+@scripts/build-config.sh build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
