# make run     - set up, build and play
# make test    - set up, build and run the whole test suite
# make test-e2e-repeat N=10 - the end-to-end suite N times in a row
# make install - install under PREFIX (/usr/local; DESTDIR stages it)
# make uninstall - remove what the install to that PREFIX/DESTDIR put there
# make package - the Debian package, in build-package/ (the same bytes from
#                one tree: file times are the last commit's)
# make icons   - render the icons (and the Windows icon) from data/verlomba.svg
# make fonts   - write the bitmap fonts the game compiles in, from freeglut
# make fuzz    - run each fuzzer for FUZZ_SECONDS (60 by default)
# make bench   - benchmarks and the running game's figures against their targets
# make measure - only the running game's figures (start-up, memory, CPU)
# make soak    - 200,000 ticks of random play under the sanitizers
# make golden  - rewrite the replay goldens after a deliberate change
# make screenshot - play a short game under Xvfb and save docs/screenshot.png
# make windows - the Windows program, build-windows/verlomba.exe (MinGW-w64)
# make windows-package - its zip and its NSIS installer, in build-windows/
# make test-windows - the Windows program's tests under Wine on Xvfb
# make measure-windows - its figures under Wine beside Linux's
# make web     - the browser build: build-web/ holds the page to publish
# make serve-web - serve build-web/ at http://127.0.0.1:$(PORT)/
# make test-web - the browser build's tests (headless Chromium, Node)
# make measure-web - the browser's figures beside the desktop's
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps build build-asan build-e2e run test format-check test-unit test-e2e test-e2e-repeat test-install bench clean
.PHONY: build-fuzz fuzz fuzz-smoke build-bench measure
.PHONY: soak golden icons fonts
.PHONY: install uninstall package screenshot
.PHONY: deps-game deps-test deps-fuzz deps-bench deps-package deps-icons deps-windows deps-web
.PHONY: windows windows-package test-windows measure-windows
.PHONY: web build-emscripten serve-web test-web measure-web

all: build

# Each target asks only for the Debian packages it uses (the groups are in
# scripts/ensure-deps.sh), before CMake looks for them.
deps: deps-game
deps-game deps-test deps-fuzz deps-bench deps-package deps-icons deps-windows deps-web:
	@scripts/ensure-deps.sh $(@:deps-%=%)

# The game alone: what make run and make install use. The end-to-end tests
# drive this binary too.
build/CMakeCache.txt:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps-game build/CMakeCache.txt
	cmake --build build -j $(JOBS)

# The unit tests and the replay tool, under the sanitizers.
build-asan/CMakeCache.txt:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVERLOMBA_SANITIZE=ON \
	  -DVERLOMBA_TESTS=ON -DVERLOMBA_TOOLS=ON -DVERLOMBA_E2E=OFF $(CMAKE_FLAGS)

build-asan: deps-game deps-test build-asan/CMakeCache.txt
	cmake --build build-asan -j $(JOBS)

# libFuzzer needs clang; this build holds only the fuzz targets.
build-fuzz/CMakeCache.txt:
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVERLOMBA_FUZZ=ON $(CMAKE_FLAGS)

build-fuzz: deps-game deps-fuzz build-fuzz/CMakeCache.txt
	cmake --build build-fuzz -j $(JOBS)

# Each fuzzer grows its corpus in build-fuzz/corpus from the seeds in
# tests/fuzz/corpus; an input that fails is kept in build-fuzz/artifacts.
FUZZERS = tuning about geometry software city
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5
run-fuzzers = for f in $(FUZZERS); do \
	  mkdir -p build-fuzz/corpus/$$f build-fuzz/artifacts; \
	  dict=; [ -f tests/fuzz/$$f.dict ] && dict=-dict=tests/fuzz/$$f.dict; \
	  echo "fuzzing $$f for $(1) s"; \
	  ./build-fuzz/verlomba_fuzz_$$f -max_total_time=$(1) -timeout=10 $$dict \
	    -artifact_prefix=build-fuzz/artifacts/$$f- build-fuzz/corpus/$$f tests/fuzz/corpus/$$f \
	    > build-fuzz/$$f.log 2>&1 \
	    || { tail -n 40 build-fuzz/$$f.log; echo "fuzzer $$f failed; see build-fuzz/$$f.log"; exit 1; }; \
	  grep -E '^Done ' build-fuzz/$$f.log; \
	done

fuzz: build-fuzz
	@$(call run-fuzzers,$(FUZZ_SECONDS))

fuzz-smoke: build-fuzz
	@$(call run-fuzzers,$(FUZZ_SMOKE_SECONDS))

run: build
	./build/verlomba

# Unit tests run in the sanitizer build; the end-to-end tests drive the real
# binary under Xvfb, while the fuzzers' few seconds each run beside them (the
# games mostly wait); then the install tree and the package are checked.
# The builds go two at a time, so that one's configuring and linking
# overlap the other's compiling; every package they need is installed first,
# at once.
TEST_GROUPS = game test fuzz package web windows
test: format-check
	@scripts/ensure-deps.sh $(TEST_GROUPS)
	$(MAKE) --no-print-directory -j 2 build-e2e build-asan build-fuzz package web
	cd build-asan && ctest -L unit --output-on-failure -j $(JOBS)
	@( $(call run-fuzzers,$(FUZZ_SMOKE_SECONDS)) ) > build-fuzz/smoke.log 2>&1 & smoke=$$!; \
	  ( cd build && ctest -L e2e --output-on-failure -j $(JOBS) ); e2e=$$?; \
	  wait $$smoke; fuzz=$$?; cat build-fuzz/smoke.log; test $$e2e -eq 0 -a $$fuzz -eq 0
	$(run-web-tests)
	python3 tests/install/test_install_tree.py build
	python3 tests/install/test_package.py build-package
	$(MAKE) test-windows

# The tree stays as .clang-format lays it out.
format-check: deps-test
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

test-unit: build-asan
	cd build-asan && ctest -L unit --output-on-failure -j $(JOBS)

test-e2e: deps-test build build-e2e
	cd build && ctest -L e2e --output-on-failure -j $(JOBS)

# The end-to-end suite N times in a row, stopping at the first failure: the
# proof that it does not flake (run it beside a busy build).
N ?= 10
test-e2e-repeat: deps-test build build-e2e
	cd build && for i in $$(seq $(N)); do echo "round $$i of $(N)"; \
	  ctest -L e2e --output-on-failure -j $(JOBS) || exit 1; done

# The end-to-end tests' own tool, beside the game in build/.
build-e2e: build
	cmake --build build -j $(JOBS) --target verlomba_renderer_comparison

test-install: deps-test build package
	python3 tests/install/test_install_tree.py build
	python3 tests/install/test_package.py build-package

# Measured in a build of their own, with the optimisation the game ships
# with (RelWithDebInfo, as make run builds it), so that the figures are
# those of the game a player runs.
build-bench/CMakeCache.txt:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVERLOMBA_E2E=OFF -DVERLOMBA_BENCH=ON -DVERLOMBA_TOOLS=ON $(CMAKE_FLAGS)

build-bench: deps-game deps-bench build-bench/CMakeCache.txt
	cmake --build build-bench -j $(JOBS) --target verlomba verlomba_bench verlomba_big_city verlomba_empty_window verlomba_probe \
	  verlomba-replay

bench: build-bench
	python3 scripts/measure_bench.py build-bench/verlomba_bench
	python3 scripts/measure.py build-bench

measure: build-bench
	python3 scripts/measure.py build-bench

# The soak test of the unit suite at full length (seed: SOAK_SEED).
SOAK_TICKS ?= 200000
SOAK_SEED ?= 20240
soak: build-asan
	cd build-asan && VERLOMBA_SOAK_TICKS=$(SOAK_TICKS) VERLOMBA_SOAK_SEED=$(SOAK_SEED) \
	  ./verlomba_tests --gtest_filter='Soak.*'

# ReplayTest compares each tests/golden/NAME.script run with NAME.digest. When
# behaviour changes on purpose, this rewrites the digests; review their diff
# (the summary lines) before committing.
golden: build-asan
	for s in tests/golden/*.script; do n=$$(basename $$s .script); \
	  ./build-asan/verlomba-replay --golden $$n $$s > tests/golden/$$n.digest || exit 1; \
	  grep '^summary' tests/golden/$$n.digest; done

# The install records what it put where (in build/installs, one record per
# destination), and uninstall removes exactly that: give it the same PREFIX
# and DESTDIR.
PREFIX ?= /usr/local
install: build
	scripts/install-tree.sh install build "$(PREFIX)" "$(DESTDIR)"

uninstall:
	scripts/install-tree.sh uninstall build "$(PREFIX)" "$(DESTDIR)"

# Its own build, configured as Debian lays a game out (/usr/games), with
# Debian's compiler and linker flags, all hardening on.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
build-package/CMakeCache.txt: Makefile
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_INSTALL_BINDIR=games -DVERLOMBA_E2E=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS) -Werror=date-time" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" $(CMAKE_FLAGS)

package: deps-game deps-package build-package/CMakeCache.txt
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack
	@ls build-package/*.deb

# The hicolor PNGs, the window icon's pixels (which the build compiles
# in) and the Windows program's icon are rendered from the SVG, and
# committed; run this after changing data/verlomba.svg.
ICON_SIZES = 16 32 48 64 128 256
WINDOW_ICON_SIZES = 16 32 48 64 128
icons: deps-icons
	for s in $(ICON_SIZES); do \
	  rsvg-convert -w $$s -h $$s data/verlomba.svg -o data/icons/verlomba-$$s.png || exit 1; done
	python3 scripts/window_icon_data.py $(WINDOW_ICON_SIZES:%=data/icons/verlomba-%.png) \
	  > data/icons/window-icon.argb.new
	mv data/icons/window-icon.argb.new data/icons/window-icon.argb
	python3 scripts/windows_icon.py $(ICON_SIZES:%=data/icons/verlomba-%.png) > data/icons/verlomba.ico.new
	mv data/icons/verlomba.ico.new data/icons/verlomba.ico

# The bitmap fonts at a scale of 1, as freeglut holds them, which every
# platform's software renderer draws text with, and the browser's fonts at
# its other scales (from the URW fonts, as the desktop rasterizes them);
# committed. The end-to-end renderer comparison fails when OpenGL draws
# other glyphs: run this then.
fonts: deps-game build/CMakeCache.txt
	cmake --build build -j $(JOBS) --target verlomba-fonts
	./build/verlomba-fonts data/fonts/bitmap-fonts.bin
	./build/verlomba-fonts --scaled data/fonts/scaled-fonts.bin

# Drives the real game with xdotool through the end-to-end harness.
screenshot: deps-test build
	python3 scripts/screenshot.py build/verlomba docs/screenshot.png

# The browser build: Emscripten compiles the game (and the replay tool, for
# Node) in build-emscripten/; build-web/ gets only what a web server
# publishes. Emscripten's tools want Debian's node and its modules.
WEB_ENV = NODE_PATH=/usr/share/nodejs EM_NODE_JS=/usr/bin/node PATH=/usr/bin:$$PATH
PORT ?= 8080
build-emscripten/CMakeCache.txt:
	$(WEB_ENV) emcmake cmake -S . -B build-emscripten -DCMAKE_BUILD_TYPE=Release -DVERLOMBA_E2E=OFF

build-emscripten: deps-web build-emscripten/CMakeCache.txt
	$(WEB_ENV) cmake --build build-emscripten -j $(JOBS) --target verlomba verlomba-replay

web: build-emscripten
	rm -rf build-web && mkdir -p build-web
	cp build-emscripten/index.html build-emscripten/verlomba.js build-emscripten/verlomba.wasm build-web/

serve-web: web
	python3 scripts/serve_web.py build-web $(PORT)

# The page in headless Chromium; the replays and a frame under Node against
# the desktop's replay tool.
define run-web-tests
	python3 tests/web/test_page.py build-web
	python3 tests/web/test_web_replay.py build-emscripten/tools/verlomba-replay.js build-asan/verlomba-replay
endef

test-web: web build-asan
	$(run-web-tests)

measure-web: web build-bench
	python3 scripts/measure_web.py build-web build-emscripten build-bench

clean:
	rm -rf build build-asan build-fuzz build-bench build-package build-windows build-emscripten build-web

# The Windows program, cross-compiled with MinGW-w64: build-windows/verlomba.exe.
WINDOWS_CMAKE = cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DVERLOMBA_E2E=OFF $(CMAKE_FLAGS)
build-windows/CMakeCache.txt:
	$(WINDOWS_CMAKE)

windows: deps-windows build-windows/CMakeCache.txt
	cmake --build build-windows -j $(JOBS) --target verlomba
	@ls build-windows/verlomba.exe

# The zip and the NSIS installer, in build-windows/.
windows-package: windows
	cmake --build build-windows --target windows-package
	@ls build-windows/verlomba-*-windows-x64.zip build-windows/verlomba-*-setup.exe

# The Windows program's figures under Wine beside the Linux software
# renderer's: start-up, CPU share, the 1,000-tree world's frame rate.
measure-windows: windows build
	python3 scripts/measure_windows.py build-windows build/verlomba

# The Windows program and its tools under Wine on Xvfb: the golden replays,
# a frame equal to Linux's software frame of the same game, the game played
# with real input, the zip and the installer (tests/windows). Wine's prefix
# is made in build-windows/wine on first use (about 15 s) and kept.
test-windows: deps-windows deps-test windows-package build-asan
	cmake --build build-windows -j $(JOBS) --target verlomba-replay verlomba-frame
	cmake --build build-asan -j $(JOBS) --target verlomba-frame
	python3 tests/windows/test_golden_replays.py build-windows
	python3 tests/windows/test_frame.py build-windows build-asan/verlomba-frame
	python3 tests/windows/test_game.py build-windows
	python3 tests/windows/test_installer.py build-windows
