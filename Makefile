# make run   - set up, build and play
# make test  - set up, build and run the whole test suite
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps build build-asan run test test-unit test-e2e bench clean

all: build

deps:
	@scripts/ensure-deps.sh

build/CMakeCache.txt:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build-asan/CMakeCache.txt:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVERLOMBA_SANITIZE=ON \
	  -DVERLOMBA_E2E=OFF -DVERLOMBA_BENCH=OFF $(CMAKE_FLAGS)

build: deps build/CMakeCache.txt
	cmake --build build -j $(JOBS)

build-asan: deps build-asan/CMakeCache.txt
	cmake --build build-asan -j $(JOBS)

run: build
	./build/verlomba

# Unit tests run in the sanitizer build; the end-to-end tests drive the real
# binary under Xvfb.
test: build build-asan
	cd build-asan && ctest -L unit --output-on-failure -j $(JOBS)
	cd build && ctest -L e2e --output-on-failure

test-unit: build-asan
	cd build-asan && ctest -L unit --output-on-failure -j $(JOBS)

test-e2e: build
	cd build && ctest -L e2e --output-on-failure

bench: build
	./build/verlomba_bench

clean:
	rm -rf build build-asan
