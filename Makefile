# Thin wrapper over CMake. `make run` and `make test` work on a fresh Debian 12 machine:
# both install what is missing first (scripts/install-deps.sh).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench fuzz sanitize clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display here. To see the program on a machine without a desktop, run:"; \
	  echo "  scripts/run-under-xvfb.sh $(BUILD)/src/dorvane"; \
	  exit 1; \
	fi
	$(BUILD)/src/dorvane

test: build
	@bash scripts/run-tests.sh $(BUILD)

bench: build
	@bash scripts/run-bench.sh $(BUILD)

fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DDORVANE_FUZZ=ON \
	  -DDORVANE_TESTS=OFF -DDORVANE_BENCH=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz_targets
	bash scripts/fuzz-seeds.sh $(BUILD)-fuzz $(BUILD)/src/ZIPSFX.BIN

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer, in a folder of
# its own; the zip libraries the program loads at run time are built sanitized as well.
# The sanitizers' stack frames are several times larger: deep trees need more stack.
# Tests that ask for more memory than there is expect a refusal, not an abort.
sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DDORVANE_SANITIZE=ON -DDORVANE_BENCH=OFF
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ulimit -s 65536 && ASAN_OPTIONS=allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  bash scripts/run-tests.sh $(BUILD)-sanitize

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz $(BUILD)-sanitize
