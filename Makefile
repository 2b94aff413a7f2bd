# Vellora: the two commands that set everything up on a fresh Debian machine are `make run` and `make test`.

JOBS ?= $(shell nproc)
TEST_ENV = QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

.PHONY: run build test bench fuzz deps data install package clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

# The build already runs the data kit (target vellora-data: build/bin/data and build/bin/designs from data-src,
# again whenever a source or the kit changes); this makes sure the data is current before the program starts.
data: build
	cmake --build build --target vellora-data

run: build data
	build/bin/vellora

# Installs the release build into PREFIX (DESTDIR, when given, is put in front of every path, as for packagers).
PREFIX ?= /usr/local
install: build data
	cmake --install build --prefix $(PREFIX)

# The Debian package of the release build: build/vellora_<version>_amd64.deb.
package: build data
	cd build && cpack -G DEB

test: deps
	cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLORA_SANITIZE=ON -DVELLORA_BUILD_TESTS=ON -DVELLORA_BUILD_APPS=OFF -DVELLORA_WERROR=ON
	cmake --build build-test -j $(JOBS)
	$(TEST_ENV) ASAN_OPTIONS=detect_leaks=1 bash scripts/run-tests.sh $(JOBS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLORA_BUILD_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	cd build-bench && $(TEST_ENV) bash ../bench/run.sh

# libFuzzer targets, built with clang; FUZZ_TIME seconds per target.
FUZZ_TIME ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORA_BUILD_FUZZ=ON -DVELLORA_BUILD_APPS=OFF
	cmake --build build-fuzz -j $(JOBS)
	cd build-fuzz && $(TEST_ENV) bash ../tests/fuzz/run.sh $(FUZZ_TIME)

clean:
	rm -rf build build-test build-bench build-fuzz
