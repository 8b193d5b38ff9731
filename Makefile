# Quillon: build, run and test on Debian 12 (as root, so missing packages can
# be installed). Two builds: the 32-bit one (build/i686) is the program for
# most users; the 64-bit one (build/x86_64) sees a 64-bit Windows' native
# registry view. Each build tree has its own Wine prefix.

BUILD_TYPE ?= Release
ARCHS := i686 x86_64
WINE32 := /usr/lib/wine/wine
WINE64 := /usr/lib/wine/wine64

.PHONY: all deps build test run bench clean $(ARCHS:%=build-%)

all: build

deps:
	@scripts/ensure-deps.sh

build: deps $(ARCHS:%=build-%)

$(ARCHS:%=build-%): build-%:
	@[ -f build/$*/CMakeCache.txt ] || cmake -S . -B build/$* \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$*.cmake -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    -DQUILLON_WERROR=ON
	@cmake --build build/$* -j2

# Runs every test of both builds under Wine, each build in its own prefix
# with a fresh Wine server. A machine whose kernel cannot run 32-bit programs
# cannot run 32-bit Wine: there the 32-bit build is built but not tested, and
# the run says so.
test: build
	@scripts/run-tests.sh x86_64
	@if $(WINE32) --version >/dev/null 2>&1; then scripts/run-tests.sh i686; \
	else echo "NOTE: this machine cannot run 32-bit Wine (no 32-bit support in its kernel):"; \
	     echo "NOTE: the 32-bit build was built, and its tests were NOT run."; fi

# Starts the program in a demo prefix with a few values that name real
# folders, or in the prefix named by WINEPREFIX. The 32-bit build runs where
# 32-bit Wine can run, the 64-bit build elsewhere. Without a display it runs
# a demo in the demo prefix instead (scripts/demo.sh), into build/demo/.
run: build
	@scripts/run-quillon.sh

# The search benchmark (see README, Performance): a few minutes the first
# time, while it makes its synthetic registry, then about a quarter of an hour.
bench: deps build-x86_64
	@bench/run.sh build/x86_64

clean:
	@for p in build/*/wineprefix build/*/demoprefix; do \
	    [ -d "$$p" ] && WINEPREFIX=$$(cd $$p && pwd) wineserver -k 2>/dev/null; done; true
	rm -rf build
