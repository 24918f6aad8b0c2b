# Front door of the build: installs what Debian lacks, then drives CMake.
#   make run [ARGS='texta=a.txt textb=b.txt']   build and start the program
#   make test                                    build and run every test, also under the sanitizers
#                                                (the comparison's threads under ThreadSanitizer),
#                                                and each fuzz target for a few seconds
#   make fuzz [FUZZ_SECONDS=60]                  run each fuzz target (libFuzzer, ASan, UBSan) for a while
#   make bench                                   build and run the benchmarks
#   make install [PREFIX=/usr/local DESTDIR=]    build and install (program in PREFIX/lib/ravellediff)
#   make deb                                     build the Debian package in $(BUILD) and run lintian on it

BUILD     ?= build
SAN_BUILD ?= build-san
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 3
JOBS      ?= $(shell nproc)
DEBS      := cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev \
             fonts-ipafont-gothic time qt6-translations-l10n clang libclang-rt-14-dev \
             xvfb xdotool imagemagick at-spi2-core python3-pyatspi python3-xlib dbus desktop-file-utils \
             libxlsxwriter-dev python3-openpyxl xdg-utils
# Only for "make deb": CPack's DEB generator uses dpkg-shlibdeps (dpkg-dev)
# and file to compute Depends; lintian checks the package.
DEB_DEBS  := dpkg-dev file lintian
PREFIX    ?= /usr/local
DESTDIR   ?=
SUDO      := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps deb-deps install-debs configure build run test test-plain test-san test-tsan test-fuzz fuzz fuzz-build bench install deb \
        clean

all: build

deps:
	@$(MAKE) --no-print-directory install-debs PACKAGES="$(DEBS)"

deb-deps: deps
	@$(MAKE) --no-print-directory install-debs PACKAGES="$(DEB_DEBS)"

# Installs those of PACKAGES that are missing.
install-debs:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(SAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRD_SANITIZE=ON -DRD_WITH_QT=OFF

$(TSAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRD_TSAN=ON

# The fuzz targets need clang's libFuzzer: a configuration of their own.
$(FUZZ_BUILD)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRD_FUZZ=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/RavelleDiff $(ARGS)

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-san: deps $(SAN_BUILD)/build.ninja
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The tests of the work that a comparison spreads over two threads.
test-tsan: deps $(TSAN_BUILD)/build.ninja
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target rd_compare_tests
	$(TSAN_BUILD)/rd_compare_tests --gtest_brief=1 --gtest_filter='KeyNumbering.*'

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

# Each target for a few seconds on its seeds: what the fuzzers once found stays found.
test-fuzz: fuzz-build
	./tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

fuzz: fuzz-build
	./tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

test: test-plain test-san test-tsan test-fuzz

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	./bench/run_all.sh $(BUILD)

# Folders get 0777 less the umask: 022 gives the usual 0755.
install: build
	umask 022 && DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The package goes to $(BUILD)/ravellediff_VERSION-1_ARCH.deb; lintian fails
# the target on errors and lists warnings.
deb: deb-deps build
	rm -f $(BUILD)/ravellediff_*.deb
	cd $(BUILD) && umask 022 && cpack -G DEB
	lintian $(BUILD)/ravellediff_*.deb

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
