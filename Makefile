# Front door of the build. `make play` and `make test` install whatever is
# missing first (tools/setup.sh), so a fresh Debian machine needs nothing else.
#
#   make build   the game, at build/keltrim.exe (32-bit Windows)
#   make test    build and run every test under Wine in a virtual display
#   make play    build and run the game under Wine
#   make bench   build and run the benchmark (tests/bench/run_bench.py)
#   make dist    the release package, build/keltrim-solitaire-VERSION.zip
#   make clean   remove build/
#
# The tests are built for the architecture that this machine's Wine runs
# (tools/wine-arch): i686 in build/ itself, or x86_64 in build/win64 where
# 32-bit programs cannot run. BUILD=dir puts everything in another folder.

MAKEFLAGS += --no-print-directory

BUILD ?= build
B := $(abspath $(BUILD))
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# How long the soak test plays (seconds); SOAK_SEED=n replays a run.
SOAK_SECONDS ?= 300
export SOAK_SECONDS
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Release -DKELTRIM_WINE_HOME=$(B) -DKELTRIM_SOAK_SECONDS=$(SOAK_SECONDS)

# Shell snippet: sets $dir and $tc to the tree and toolchain Wine can run.
RUN_TREE = arch=$$(cat $(B)/wine-arch); dir=$(B); tc=cmake/mingw-i686.cmake; \
	if [ "$$arch" = x86_64 ]; then dir=$(B)/win64; tc=cmake/mingw-x86_64.cmake; fi

.PHONY: all setup build test play bench dist clean

all: build

setup:
	@tools/setup.sh $(B)

build:
	@cmake -S . -B $(B) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(B) -j$(JOBS) --target keltrim
	@echo "built $(B)/keltrim.exe"

test: setup build
	@$(RUN_TREE); \
	cmake -S . -B $$dir -DCMAKE_TOOLCHAIN_FILE=$$tc $(CMAKE_FLAGS) -DKELTRIM_TESTS=ON >/dev/null && \
	cmake --build $$dir -j$(JOBS) && \
	KELTRIM_BUILD=$(B) tools/run-tests $$dir

play: setup build
	@$(RUN_TREE); \
	cmake -S . -B $$dir -DCMAKE_TOOLCHAIN_FILE=$$tc $(CMAKE_FLAGS) >/dev/null && \
	cmake --build $$dir -j$(JOBS) --target keltrim && \
	KELTRIM_BUILD=$(B) tools/play $$dir/keltrim.exe

bench: setup build
	@$(RUN_TREE); \
	cmake -S . -B $$dir -DCMAKE_TOOLCHAIN_FILE=$$tc $(CMAKE_FLAGS) >/dev/null && \
	cmake --build $$dir -j$(JOBS) --target keltrim keltrim_bench keltrim_trivial_window \
		keltrim_trivial_common_controls && \
	KELTRIM_BUILD=$(B) tools/with-display /usr/bin/python3 tests/bench/run_bench.py $$dir

dist: setup build
	@cmake -DEXE=$(B)/keltrim.exe -DOUT=$(B) -P cmake/MakeDist.cmake

clean:
	rm -rf $(B)
