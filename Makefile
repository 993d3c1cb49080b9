# The two commands of the README: `make test` and `make demo`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: test deps configure build fuzz bench clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DDORV_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest -j $(JOBS) --output-on-failure --timeout 600

clean:
	rm -rf $(BUILD) build-fuzz build-bench
