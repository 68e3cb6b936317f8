# The one entry point: `make run` builds and starts the window, `make test` builds and runs every
# test. Both install what is missing first.
PRESET ?= default
BUILD_DIR = build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: all deps build test run asan-test clean format bench package package-check fuzz windows \
        test-windows

all: build

deps:
	@tools/deps.sh

build: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	ctest --preset $(PRESET)

run: build
	$(BUILD_DIR)/src/app/zebcontest

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test:
	$(MAKE) test PRESET=asan

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build

FUZZ_SECONDS ?= 60

# Each fuzz target for FUZZ_SECONDS seconds; clang and its fuzzer runtime are installed first.
fuzz:
	@tools/deps.sh clang libclang-rt-14-dev
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh

# Benchmarks of loading, computing and writing the protocol at 250 to 2000 QSOs, of whole zebscore
# runs next to cat of the same log, of a contest of 500 stations scored in one run, and of the
# contest window's time to a full table of those 500 stations.
bench: build
	$(BUILD_DIR)/bench/zeb_bench
	$(BUILD_DIR)/bench/zeb_window_bench

# The Debian package, its dependencies found by dpkg-shlibdeps; its version is the program's with
# the build's commit (3.05+gitN.HASH).
package: build
	tools/deps.sh dpkg-dev
	cmake --build --preset default --target package

# Builds the package, checks it with lintian, installs it on this machine and runs it (as root).
package-check: build
	tools/package-check.sh

# zebcontest.exe (the form and the contest window as native Windows windows) and zebscore.exe for 64-bit Windows,
# cross-built with mingw-w64, and their zip build/windows/zeb-contest-VERSION-windows.zip; Wine runs
# the Windows tests, zebcontest.exe's on a virtual X screen (Xvfb) with Wine's fonts. No Qt.
WINDOWS_PACKAGES = cmake ninja-build make g++-mingw-w64-x86-64-posix wine wine64 googletest \
                   fonts-wine xvfb xauth gettext

windows:
	@tools/deps.sh --only $(WINDOWS_PACKAGES)
	@test -f build/windows/build.ninja || cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target windows_zip
	@ls -l build/windows/zeb-contest-*-windows.zip

# The tests that need no Qt, cross-built and run under Wine; zebscore.exe beside the Linux zebscore
# over the same logs; zebcontest.exe worked through its windows by a driver program, its protocol
# beside zebscore.exe's; the DLLs that both programs import.
test-windows: windows build
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows
