# The two commands of the README. Both install what is missing first.
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# A compiler cache shortens rebuilds of a fresh tree; the build works without it.
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)

.PHONY: run test deps build clean fuzz

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Starts the desktop program on the bundled sample; without a display it runs
# under Xvfb and leaves a screenshot of the window.
run: build
	@scripts/run-sample $(BUILD_DIR)

# A fresh build from scratch and every test through CTest, then the
# sanitizer build, the fuzz corpus replay and the Windows cross-build.
test: deps
	rm -rf $(TEST_BUILD_DIR)
	cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVAN_WERROR=ON $(LAUNCHER)
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	JOBS=$(JOBS) scripts/ci-extra

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) build-sanitize build-win32 build-fuzz

# Explores every fuzz target for SECONDS seconds each, one after the other,
# adding what it finds to fuzz/corpus/<target>/ (commit the new inputs).
SECONDS ?= 60
fuzz: deps
	scripts/fuzz $(SECONDS)
