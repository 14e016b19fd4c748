# Set-up, build, tests and the demo disc. Every target installs the Debian packages it needs first,
# so `make run` and `make test` work on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)
DEMO := $(BUILD)/demo-disc
DEPS := cmake g++ make qt6-base-dev libjpeg-dev libgtest-dev fonts-liberation fonts-dejavu-core \
        xvfb xauth imagemagick xdotool xorriso

ASAN_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
FUZZ_DEPS := clang-14 libclang-rt-14-dev
BENCH_DEPS := libbenchmark-dev libjpeg-turbo-progs ffmpeg mediainfo hyperfine
ISO_DEPS := xorriso

.PHONY: deps build test sanitize demo run fuzz bench disc iso clean

deps:
	@tools/install-packages.sh $(DEPS)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# The whole suite, then once more under AddressSanitizer + UndefinedBehaviorSanitizer.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300
	$(MAKE) sanitize

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DAUTORUN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS) --timeout 600

fuzz: build
	@tools/install-packages.sh $(FUZZ_DEPS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) tools/fuzz.sh

bench: build
	@tools/install-packages.sh $(BENCH_DEPS)
	tools/bench.sh $(BUILD)

disc: build
	@[ -n "$(DIR)" ] || { echo "usage: make disc DIR=/path/to/disc"; exit 2; }
	tools/make-disc.sh $(BUILD) "$(DIR)"

iso: demo
	@tools/install-packages.sh $(ISO_DEPS)
	tools/make-iso.sh $(DEMO) $(BUILD)/demo-disc.iso

demo: build
	tools/make-demo-disc.sh $(BUILD) $(DEMO)

run: demo
	tools/run-demo.sh $(DEMO)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
