# make run   builds the saver and shows it.
# make test  builds every preset and runs every test.
# make bench runs the benchmarks and prints their figures.

BUILD_PACKAGES := cmake g++ make pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev

.PHONY: run test bench packages build build-asan

packages:
	@tools/install_packages.sh $(BUILD_PACKAGES)

build: packages
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux

build-asan: packages
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan

run: build
	./build/linux/tools/sim/vesperglow-sim --frames 3600

test: build build-asan
	ctest --preset linux
	ctest --preset asan -L 'unit|gl'

bench: build
	@for b in build/linux/bench/vesperglow-bench-*; do echo "== $$b"; "$$b"; done
