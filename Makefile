# SPDX-License-Identifier: GPL-3.0-or-later
# make run   installs what is missing, builds, starts Varnel
# make test  installs what is missing, builds with sanitizers, runs every test
# make bench builds optimised and runs the benchmarks
# make package builds the Debian packages (build/release/varnel_*.deb, varnel-cli_*.deb)
# make deb-source-check  builds the packages with dpkg-buildpackage in a clean clone of HEAD

# Debian packages the build and the tests need.
PACKAGES := cmake make g++ ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev fonts-wqy-microhei xvfb xauth \
            strace python3-mutagen eyed3 libtag1-dev \
            dosfstools exfat-fuse fusefat fuse3 exfatprogs rename libpcre2-dev \
            dpkg-dev file lintian appstream desktop-file-utils librsvg2-bin \
            qt6-translations-l10n shared-mime-info xdg-utils bash-completion fonts-dejavu-core \
            fontconfig qt6-tools-dev qt6-l10n-tools libcli11-dev mold clang libclang-rt-dev

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
TEST_DIR := build/debug
RELEASE_DIR := build/release
JOBS ?= $(shell nproc)
# Ninja for a new build folder; a folder configured before (by hand, with
# whatever generator) keeps the generator its cache names.
generator = $(if $(wildcard $(1)/CMakeCache.txt),,-G Ninja)

.PHONY: all deps run test bench package package-test deb-source-check clean configure-test \
        configure-release

all: test

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

# The test build compiles with Clang, whose unoptimised code with the
# sanitizers takes three fifths of GCC's time, and both builds compile their
# sources in batches of a few files each (unity builds): `make test` on a
# busy two-core machine is mostly compiling. The packages keep GCC.
# A test build made with another compiler is made afresh: CMake would
# otherwise drop its cache and configure once without the options below.
configure-test: deps
	@if [ -f $(TEST_DIR)/CMakeCache.txt ] && \
	    ! grep -q '^CMAKE_CXX_COMPILER:.*clang++$$' $(TEST_DIR)/CMakeCache.txt; then \
	  echo "$(TEST_DIR) was built by another compiler: building it afresh with Clang"; \
	  rm -rf $(TEST_DIR); \
	fi
	cmake -S . -B $(TEST_DIR) $$([ -f $(TEST_DIR)/CMakeCache.txt ] || echo -G Ninja) \
	  -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON -DVARNEL_LINKER=mold \
	  -DCMAKE_CXX_COMPILER=$$(command -v clang++) -DCMAKE_UNITY_BUILD=ON

configure-release: deps
	cmake -S . -B $(RELEASE_DIR) $(call generator,$(RELEASE_DIR)) -DCMAKE_BUILD_TYPE=Release \
	  -DVARNEL_BUILD_BENCH=ON -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_UNITY_BUILD=ON

# A test without a timeout of its own fails after 300 s instead of hanging.
# The tests that skipped (no FUSE, no vfat here …) are listed after the summary.
test: configure-test
	cmake --build $(TEST_DIR) -j $(JOBS)
	$(MAKE) --no-print-directory package-test
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300; status=$$?; \
	  $(CURDIR)/tests/skipped_tests.sh .; exit $$status

# The packages, unpacked into a fresh root and run from there as a normal user
# (before ctest, so that ctest's summary closes the output).
package-test: package
	tests/package/package_test.sh $(RELEASE_DIR)/varnel_*.deb $(RELEASE_DIR)/varnel-cli_*.deb

package: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target varnel varnel-cli varnel_package_data
	rm -f $(RELEASE_DIR)/varnel_*.deb $(RELEASE_DIR)/varnel-cli_*.deb
	cd $(RELEASE_DIR) && cpack -G DEB

# dpkg-buildpackage in a fresh clone of the committed HEAD, with the build
# dependencies debian/control declares (checked, never installed here); the
# packages are left in build/deb-source-check/.
deb-source-check:
	tests/package/deb_source_check.sh build/deb-source-check

run: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target varnel varnel-cli
	$(RELEASE_DIR)/app/ui/varnel

bench: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	bench/run.sh $(RELEASE_DIR)

clean:
	rm -rf build
