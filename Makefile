# make run   installs what is missing, builds, starts Varnel
# make test  installs what is missing, builds with sanitizers, runs every test
# make bench builds optimised and runs the benchmarks

# Debian packages the build and the tests need.
PACKAGES := cmake make g++ ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev fonts-wqy-microhei xvfb xauth \
            strace python3-mutagen eyed3 libtag1-dev \
            dosfstools qt6-translations-l10n

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
GENERATOR := -G Ninja
TEST_DIR := build/debug
RELEASE_DIR := build/release
JOBS ?= $(shell nproc)

.PHONY: all deps run test bench clean configure-test configure-release

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

configure-test: deps
	cmake -S . -B $(TEST_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON

configure-release: deps
	cmake -S . -B $(RELEASE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_BENCH=ON

test: configure-test
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

run: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target varnel varnel-cli
	$(RELEASE_DIR)/app/ui/varnel

bench: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	bench/run.sh $(RELEASE_DIR)

clean:
	rm -rf build
