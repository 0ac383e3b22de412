# The two entry points of the README: `make run` and `make test`.
BUILD ?= build
ASAN ?= build-asan
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON

.PHONY: all deps build run calc test sanitize bench screenshot clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)

run: build
	$(BUILD)/ui/tarvel

calc: build
	$(BUILD)/cli/tarvel-calc 1000 1000 1520 1620 18

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2
	$(MAKE) sanitize

# Saves docs/window.png and docs/design-window.png: the window and the design window after
# Calculate on the default inputs.
screenshot: build
	TARVEL_SCREENSHOT=$(CURDIR)/docs/window.png QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/window_tests -platform offscreen screenshot
	TARVEL_SCREENSHOT=$(CURDIR)/docs/design-window.png QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/design_window_tests -platform offscreen screenshot

# The engine tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEL_WERROR=ON \
	  -DTARVEL_BUILD_UI=OFF -DTARVEL_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
	cmake --build $(ASAN) --target engine_tests
	TARVEL_EQUIVALENCE_CASES=300 $(ASAN)/tests/engine_tests --gtest_brief=1

bench: build
	$(BUILD)/bench/tarvel_bench

clean:
	rm -rf $(BUILD) $(ASAN)
