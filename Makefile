# The commands of the README: `make test`, `make demo` and `make package`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# The programs as users run them: Release, no sanitizers, no tests.
RELEASE_BUILD ?= build-release

# No "Entering directory" line for each of CMake's inner makes.
MAKEFLAGS += --no-print-directory

.PHONY: test deps deps-build configure build format format-check fuzz bench demo release package clean

# What building the programs and the package needs (and running them), and
# what the tests need on top of it.
deps-build:
	@bash scripts/install-deps build

deps:
	@bash scripts/install-deps build test

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DDORV_SANITIZE=ON -DBUILD_TESTING=ON -DDORV_BENCH=OFF \
	  $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Every C++ file of the tree as .clang-format says, with Debian's clang-format
# (scripts/install-deps installs it).
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null || \
  find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)

format-check: deps
	@clang-format --dry-run -Werror $(FORMAT_FILES)

format: deps
	@clang-format -i $(FORMAT_FILES)

test: format-check build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest -j $(JOBS) --output-on-failure --timeout 600

# The libFuzzer targets under ASan/UBSan, FUZZ_SECONDS each (side by side).
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DDORV_SANITIZE=ON -DDORV_FUZZ=ON -DDORV_BENCH=OFF -DBUILD_TESTING=OFF \
	  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_xbiff fuzz_compound_file fuzz_save
	@bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

# Benchmarks in Release without sanitizers. The workbooks are written with
# python3-xlwt, installed here because nothing else needs it.
bench: deps
	@dpkg-query -W -f='$${Status}' python3-xlwt 2>/dev/null | grep -q 'install ok installed' || \
	  { [ "$$(id -u)" -eq 0 ] && apt-get install -y -qq python3-xlwt || sudo apt-get install -y -qq python3-xlwt; }
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDORV_SANITIZE=OFF -DDORV_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target bench_calc bench_excel_service bench_export_henkan bench_xbiff \
	  bench_print
	@bash bench/run.sh build-bench

# The release build takes Debian's build flags with every hardening feature:
# -D_FORTIFY_SOURCE=2, the strong stack protector, format checks, relro and
# bindnow (PIE is the compiler's default). Release's -O3 -DNDEBUG follow them.
DEB_BUILD_FLAG = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $(1))

release: deps-build
	@cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release -DDORV_SANITIZE=OFF -DBUILD_TESTING=OFF \
	  -DDORV_BENCH=OFF \
	  -DCMAKE_C_FLAGS="$(call DEB_BUILD_FLAG,CPPFLAGS) $(call DEB_BUILD_FLAG,CFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$(call DEB_BUILD_FLAG,CPPFLAGS) $(call DEB_BUILD_FLAG,CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(call DEB_BUILD_FLAG,LDFLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$(call DEB_BUILD_FLAG,LDFLAGS)" \
	  -DCMAKE_MODULE_LINKER_FLAGS="$(call DEB_BUILD_FLAG,LDFLAGS)" >/dev/null
	@cmake --build $(RELEASE_BUILD) -j $(JOBS)

# The Debian package of the release build (dorv_<version>_<arch>.deb in it).
package: release
	@cd $(RELEASE_BUILD) && { cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; exit 1; }; } && ls "$$PWD"/dorv_*.deb

# The sample school in the release build and one of the programs on it,
# logged in as a sample teacher (1021 teaches 国語 and has a homeroom class
# in grade 1). `make demo PROGRAM=DorvPrint` or `PROGRAM=DorvName` starts the
# others; DEMO_LOGIN picks another teacher. Needs a desktop session.
# Dorv.INI is written from the template only when there is none: a settings
# file the user has edited stays as it is.
PROGRAM ?= DorvInput
DEMO_LOGIN ?= 1021
DEMO_SCHOOL = $(abspath $(RELEASE_BUILD))/demo-school
DEMO_INI = $(RELEASE_BUILD)/bin/Dorv.INI

demo: release
	@test -d "$(DEMO_SCHOOL)/Dorv/Data" || "$(RELEASE_BUILD)/bin/dorv-sample-school" "$(DEMO_SCHOOL)"
	@test -f "$(DEMO_INI)" || sed 's|^drive=.*|drive=$(DEMO_SCHOOL)|' packaging/Dorv.INI > "$(DEMO_INI)"
	@test -x "$(RELEASE_BUILD)/bin/$(PROGRAM)" || { echo "demo: $(PROGRAM) is not built"; exit 1; }
	@cd "$(RELEASE_BUILD)/bin" && LOGNAME=$(DEMO_LOGIN) ./$(PROGRAM)

clean:
	rm -rf $(BUILD) $(RELEASE_BUILD) build-fuzz build-bench
