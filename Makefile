# Set-up, build, tests and the demo disc. Every target installs the Debian packages it needs first,
# so `make run` and `make test` work on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)
DEMO := $(BUILD)/demo-disc
DEPS := cmake g++ make qt6-base-dev libjpeg-dev libgtest-dev fonts-liberation fonts-dejavu-core fonts-wine \
        libxcb1-dev xvfb xauth imagemagick xdotool xorriso openbox \
        libglib2.0-bin desktop-file-utils shared-mime-info dbus-daemon python3-dbus python3-gi

ASAN_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
FUZZ_DEPS := clang-14 libclang-rt-14-dev
BENCH_DEPS := libbenchmark-dev libjpeg-turbo-progs ffmpeg mediainfo hyperfine
ISO_DEPS := xorriso
# The portable check: Debian 11 and 12 roots without Qt, made once per machine.
PORTABLE_ROOTS ?= $(HOME)/.cache/autorun/portable-bullseye $(HOME)/.cache/autorun/portable-bookworm
PORTABLE_DEPS := debootstrap xorriso xvfb xauth imagemagick xdotool e2fsprogs util-linux

# Windows: cross-built with mingw-w64 against a static Qt that tools/windows/build-toolchain.sh
# builds once per machine into $(WIN_CACHE) (about an hour on two cores), run under Wine.
WIN_BUILD ?= build-win
WIN_CACHE ?= $(HOME)/.cache/autorun
WIN_DEPS := cmake ninja-build nasm dpkg-dev g++-mingw-w64-x86-64-posix qt6-base-dev \
            qt6-base-dev-tools googletest wine wine64 xvfb xauth imagemagick xdotool python3
# Tracing the start of Autorun.exe for its layout (make windows-order).
WIN_ORDER_DEPS := qemu-user e2fsprogs util-linux
# The self-contained Linux launcher for discs: compiled against Debian 11's C library and a static
# Qt that tools/linux/build-toolchain.sh builds once per machine, as root, in a Debian 11 root
# under $(LINUX_CACHE).
LINUX_BUILD ?= build-linux
LINUX_CACHE ?= $(HOME)/.cache/autorun
LINUX_ROOT ?= $(LINUX_CACHE)/linux/bullseye-root
LINUX_DEPS := debootstrap cmake ninja-build nasm meson bison pkgconf dpkg-dev qt6-base-dev \
              qt6-base-dev-tools binutils
LINUX_ORDER_DEPS := xvfb xauth xdotool e2fsprogs util-linux python3
# The Windows launcher that make disc and make iso put beside the Linux one, when it is built.
WIN_EXE := $(wildcard $(WIN_BUILD)/Autorun.exe)

.PHONY: deps build test sanitize demo run fuzz bench disc iso test-portable clean \
        windows-toolchain windows test-windows windows-demo run-windows windows-order \
        linux-toolchain linux test-linux linux-order

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

# A disc gets the self-contained Linux launcher and inspector of make linux.
disc: linux
	@[ -n "$(DIR)" ] || { echo "usage: make disc DIR=/path/to/disc"; exit 2; }
	AUTORUN_EXE="$(WIN_EXE)" tools/make-disc.sh $(LINUX_BUILD) "$(DIR)"

# The demo disc with the disc's programs, as an image.
iso: build linux
	@tools/install-packages.sh $(ISO_DEPS)
	AUTORUN_EXE="$(WIN_EXE)" tools/make-demo-disc.sh $(BUILD) $(BUILD)/iso-disc
	AUTORUN_EXE="$(WIN_EXE)" tools/make-disc.sh $(LINUX_BUILD) $(BUILD)/iso-disc
	tools/make-iso.sh $(BUILD)/iso-disc $(BUILD)/demo-disc.iso

# The disc image's Linux programs started in Debian 11 and 12 roots that have only what every X11
# desktop has (no Qt, ICU, libjpeg or libxkbcommon): the window and INI files compared with the
# normal build's, and the bytes a cold start reads printed. Needs root.
test-portable: iso test-linux
	@tools/install-packages.sh $(PORTABLE_DEPS)
	tools/portable/make-root.sh bullseye $(word 1,$(PORTABLE_ROOTS))
	tools/portable/make-root.sh bookworm $(word 2,$(PORTABLE_ROOTS))
	tools/portable/check.sh $(BUILD)/demo-disc.iso $(BUILD) $(BUILD)/portable $(PORTABLE_ROOTS)

demo: build
	AUTORUN_EXE="$(WIN_EXE)" tools/make-demo-disc.sh $(BUILD) $(DEMO)

run: demo
	tools/run-demo.sh $(DEMO)

linux-toolchain:
	@tools/install-packages.sh $(LINUX_DEPS)
	AUTORUN_CACHE=$(LINUX_CACHE) AUTORUN_LINUX_ROOT=$(LINUX_ROOT) JOBS=$(JOBS) tools/linux/build-toolchain.sh

linux: linux-toolchain
	cmake -S . -B $(LINUX_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/linux-static.cmake -DAUTORUN_LINUX_ROOT=$(LINUX_ROOT) \
	  -DQT_HOST_PATH=/usr -DBUILD_TESTING=OFF
	cmake --build $(LINUX_BUILD) -j$(JOBS) --target Autorun autorun-inspect

# What the self-contained programs take from the system (GNU libc 2.31 at the newest), and
# whether their start-up layout is still in place.
test-linux: linux
	tools/linux/check-static.sh $(LINUX_BUILD)/Autorun $(LINUX_BUILD)/autorun-inspect
	@if [ -f tools/linux/startup-order.ld ]; then python3 tools/linux/startup-order.py --check \
	  $(LINUX_BUILD)/Autorun.map tools/linux/startup-order.ld; fi

# Writes tools/linux/startup-order.ld anew from a traced start on the demo disc (as root), and
# links the launcher with it. For when make test-linux says it is out of date. The demo disc's
# own launcher does not matter: the trace starts the one it links.
linux-order: linux demo
	@tools/install-packages.sh $(LINUX_ORDER_DEPS)
	tools/linux/trace-startup.sh $(LINUX_BUILD) $(DEMO) tools/linux/startup-order.ld
	cmake --build $(LINUX_BUILD) -j$(JOBS) --target Autorun

windows-toolchain:
	@tools/install-packages.sh $(WIN_DEPS)
	AUTORUN_CACHE=$(WIN_CACHE) JOBS=$(JOBS) tools/windows/build-toolchain.sh

windows: windows-toolchain
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DAUTORUN_WIN_PREFIX=$(WIN_CACHE)/win64 \
	  -DCMAKE_PREFIX_PATH=$(WIN_CACHE)/win64 -DQT_HOST_PATH=/usr
	cmake --build $(WIN_BUILD) -j$(JOBS) --target Autorun autorun-inspect

# The whole suite cross-compiled and run under Wine (through ctest, Wine being the emulator).
test-windows: windows
	cmake --build $(WIN_BUILD) -j$(JOBS)
	cd $(WIN_BUILD) && AUTORUN_CACHE=$(WIN_CACHE) $(CURDIR)/tools/windows/headless.sh \
	  ctest --output-on-failure -j$(JOBS) --timeout 300

# A Windows demo disc: the demo movie with stand-in players that are Windows programs.
windows-demo: windows deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target autorun-demodisc
	cmake --build $(WIN_BUILD) -j$(JOBS) --target stand-in-player
	tools/windows/make-demo-disc.sh $(BUILD) $(WIN_BUILD) $(WIN_BUILD)/demo-disc

# The launcher started on the Windows demo disc under Wine; headless, under Xvfb with a screenshot.
run-windows: windows-demo
	AUTORUN_CACHE=$(WIN_CACHE) tools/windows/run-demo.sh $(WIN_BUILD)/demo-disc

# Writes tools/windows/startup-order.ld anew from a traced start on the Windows demo disc (as root),
# and links the launcher with it. For when the windows.startup_order test says it is out of date.
windows-order: windows-demo
	@tools/install-packages.sh $(WIN_ORDER_DEPS)
	AUTORUN_CACHE=$(WIN_CACHE) tools/windows/trace-startup.sh $(WIN_BUILD) $(WIN_BUILD)/demo-disc \
	  tools/windows/startup-order.ld
	cmake --build $(WIN_BUILD) -j$(JOBS) --target Autorun

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WIN_BUILD) $(LINUX_BUILD)
