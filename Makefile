# The commands a person types. Each installs what is missing first.
RELEASE_DIR := build/release
TEST_DIR    := build/test
BENCH_DIR   := build/bench
# ccache, where a developer has it, makes rebuilds across checkouts cheap.
CMAKE_GEN   := -G Ninja $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Where `make install` puts the program, its menu entry and its icon.
PREFIX      ?= /usr/local

# Seconds each fuzz target runs for `make fuzz`, and the random session for `make soak`.
FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 600

.PHONY: run release install test bench fuzz soak deps clean

deps:
	@tools/ensure-deps.sh

release: deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKORVEN_TESTS=OFF
	cmake --build $(RELEASE_DIR) --target korven

run: release
	./$(RELEASE_DIR)/app/korven

install: release
	cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

test: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKORVEN_SANITIZE=ON
	cmake --build $(TEST_DIR)
	cd $(TEST_DIR) && ctest --output-on-failure

# vips and ImageMagick are what the batch figures compare the program with.
bench:
	@tools/ensure-deps.sh libvips-tools imagemagick
	cmake -S . -B $(BENCH_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKORVEN_TESTS=OFF -DKORVEN_BENCH=ON
	cmake --build $(BENCH_DIR) --target korven_bench korven
	./$(BENCH_DIR)/bench/korven_bench

# The random session of the test build, with new seeds until SOAK_SECONDS are up.
soak: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKORVEN_SANITIZE=ON
	cmake --build $(TEST_DIR) --target korven_random_session_test
	cd $(TEST_DIR) && KORVEN_SOAK_SECONDS=$(SOAK_SECONDS) ctest -R korven_random_session_test \
	  --verbose --timeout $$(($(SOAK_SECONDS) + 600))

# clang's libFuzzer with both sanitizers; new finds go into tests/fuzz/corpus.
fuzz:
	@tools/ensure-deps.sh clang libclang-rt-14-dev python3
	tools/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf build
