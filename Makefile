# The two commands: `make demo` and `make test`. Each installs what is
# missing before it builds. Further: `make` (dist/ only), `make bench`,
# `make fuzz FUZZ_SECONDS=600`.
BUILD := build
NATIVE := $(BUILD)/native
WIN32 := $(BUILD)/win32
X64 := $(BUILD)/x64
FUZZ := $(BUILD)/fuzz
JOBS ?= 2
FUZZ_SECONDS ?= 600
CROSS_FLAGS = -DCMAKE_BUILD_TYPE=MinSizeRel -DSZDD_TOOL=$(CURDIR)/$(NATIVE)/szdd

.PHONY: all deps native win32 x64 dist test test-native test-wine test-e2e demo bench fuzz fuzz-build clean

all: dist

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DQD_SANITIZE=ON >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

win32: native
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CROSS_FLAGS) >/dev/null
	@cmake --build $(WIN32) -j$(JOBS) --target setup

x64: native fuzz-build
	@cmake -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake $(CROSS_FLAGS) \
	  -DQD_BUILD_TESTS=ON -DQD_NATIVE_DIR=$(CURDIR)/$(NATIVE) -DQD_FUZZ_DIR=$(CURDIR)/$(FUZZ) >/dev/null
	@cmake --build $(X64) -j$(JOBS)

dist: win32 x64
	@mkdir -p dist/win32 dist/x64
	@cp $(WIN32)/setup.exe dist/win32/setup.exe
	@cp $(X64)/setup.exe dist/x64/setup.exe
	@echo "dist/win32/setup.exe: $$(stat -c %s dist/win32/setup.exe) bytes"
	@echo "dist/x64/setup.exe:   $$(stat -c %s dist/x64/setup.exe) bytes"

fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
	  -DQD_FUZZ=ON -DQD_SANITIZE=ON >/dev/null
	@cmake --build $(FUZZ) -j$(JOBS)

# Every layer: native (sanitizers, peers, short fuzz), Wine unit tests, end
# to end. One ctest run, one summary. A test that fails is run once more and
# counts as failed only if it fails again. Twice in some forty runs of the
# end-to-end tests, each time in a different scenario, a Wine process ended
# before its first window; the output of such a try is still printed.
RETRY := --repeat until-pass:2
test: dist
	@bash scripts/with-wine.sh $(X64)/wineprefix --xvfb \
	  ctest --test-dir $(X64) --output-on-failure $(RETRY) $(CTEST_ARGS)

test-native: dist
	@ctest --test-dir $(X64) --output-on-failure -L native

test-wine: dist
	@bash scripts/with-wine.sh $(X64)/wineprefix --xvfb ctest --test-dir $(X64) --output-on-failure $(RETRY) -L wine

test-e2e: dist
	@bash scripts/with-wine.sh $(X64)/wineprefix --xvfb ctest --test-dir $(X64) --output-on-failure $(RETRY) -L e2e

demo: dist
	@bash scripts/demo.sh

bench: deps
	@bash scripts/bench.sh

fuzz: fuzz-build
	@bash scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist demo-out bench-out
