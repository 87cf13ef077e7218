# Thin wrapper around CMake. `make test` is what CI runs.
BUILD ?= build
JOBS ?= 2
SANITIZE ?= 0

ifeq ($(SANITIZE),1)
BUILD := build-asan
CMAKE_FLAGS += -DQUORVANEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
CMAKE_FLAGS += -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

.PHONY: all deps configure build test play bench clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

play: build
	@if [ -x $(BUILD)/quorvanel ]; then ./$(BUILD)/quorvanel; \
	else echo "The desktop build is not part of this tree yet; run build/quorvanel-sim instead."; fi

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench_*; do [ -x $$b ] && $$b; done

clean:
	rm -rf build build-asan
