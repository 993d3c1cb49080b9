# The two commands of the README: `make test` and `make demo`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: test deps configure build fuzz bench demo clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DDORV_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest -j $(JOBS) --output-on-failure --timeout 600

# The libFuzzer targets under ASan/UBSan, FUZZ_SECONDS each (side by side).
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DDORV_SANITIZE=ON -DDORV_FUZZ=ON -DDORV_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_xbiff fuzz_compound_file fuzz_save
	@bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

# Benchmarks in Release without sanitizers. The workbooks are written with
# python3-xlwt, installed here because nothing else needs it.
bench: deps
	@dpkg-query -W -f='$${Status}' python3-xlwt 2>/dev/null | grep -q 'install ok installed' || \
	  { [ "$$(id -u)" -eq 0 ] && apt-get install -y -qq python3-xlwt || sudo apt-get install -y -qq python3-xlwt; }
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDORV_SANITIZE=OFF -DDORV_BENCH=ON >/dev/null
	@cmake --build build-bench -j $(JOBS) --target bench_xbiff
	@bash bench/run.sh build-bench

# The sample school in the build tree and one of the programs on it, logged
# in as a sample teacher (1021 teaches 国語 and has a homeroom class in
# grade 1). `make demo PROGRAM=DorvPrint` or `PROGRAM=DorvName` starts the
# others; DEMO_LOGIN picks another teacher. Needs a desktop session.
PROGRAM ?= DorvInput
DEMO_LOGIN ?= 1021
DEMO_SCHOOL = $(abspath $(BUILD))/demo-school

demo: build
	@test -d "$(DEMO_SCHOOL)/Dorv/Data" || "$(BUILD)/bin/make-sample-school" "$(DEMO_SCHOOL)"
	@printf '[Work]\ndrive=%s\n' "$(DEMO_SCHOOL)" > "$(BUILD)/bin/Dorv.INI"
	@test -x "$(BUILD)/bin/$(PROGRAM)" || { echo "demo: $(PROGRAM) is not built yet"; exit 1; }
	@cd "$(BUILD)/bin" && LOGNAME=$(DEMO_LOGIN) ASAN_OPTIONS=detect_leaks=0 ./$(PROGRAM)

clean:
	rm -rf $(BUILD) build-fuzz build-bench
