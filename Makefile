# Set-up, build, tests and the demo disc. Every target installs the Debian packages it needs first,
# so `make run` and `make test` work on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)
DEMO := $(BUILD)/demo-disc
DEPS := cmake g++ make qt6-base-dev libjpeg-dev libgtest-dev fonts-liberation fonts-dejavu-core \
        xvfb xauth imagemagick xdotool
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test demo run clean

deps:
	@missing=$$(for p in $(DEPS); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300

demo: build
	tools/make-demo-disc.sh $(BUILD) $(DEMO)

run: demo
	tools/run-demo.sh $(DEMO)

clean:
	rm -rf $(BUILD)
