# The two entry points of the README: `make run` and `make test`.
BUILD ?= build
ASAN ?= build-asan
FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
# One fuzz target per folder of tests/fuzz/corpus; FUZZ_FLAGS go to every libFuzzer run.
FUZZ_TARGETS ?= $(notdir $(wildcard tests/fuzz/corpus/*))
FUZZ_FLAGS ?=
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON

.PHONY: all deps build run calc test sanitize fuzz bench screenshot clean

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

# Saves docs/window.png: the window after Calculate on the default inputs.
screenshot: build
	TARVEL_SCREENSHOT=$(CURDIR)/docs/window.png QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/window_tests -platform offscreen screenshot

# The engine tests and the fuzz corpora once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEL_WERROR=ON \
	  -DTARVEL_BUILD_UI=OFF -DTARVEL_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
	cmake --build $(ASAN) --target engine_tests fuzz_corpora
	TARVEL_EQUIVALENCE_CASES=300 TARVEL_BOUNDS_CASES=100 $(ASAN)/tests/engine_tests --gtest_brief=1
	ctest --test-dir $(ASAN) --output-on-failure -R '^fuzz_corpus_'

# Each fuzz target for FUZZ_SECONDS under libFuzzer (clang-14, ASan, UBSan), one after the
# other. New inputs go to $(FUZZ)/scratch/NAME, never to the checked-in corpus; a finding is
# saved in $(FUZZ)/findings/NAME/ (add it to tests/fuzz/corpus/NAME once fixed).
fuzz:
	@scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEL_WERROR=ON \
	  -DTARVEL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZ)
	@set -e; for name in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/scratch/$$name $(FUZZ)/findings/$$name; \
	  echo "== fuzz_$$name, $(FUZZ_SECONDS) s"; \
	  $(FUZZ)/tests/fuzz/fuzz_$$name -max_total_time=$(FUZZ_SECONDS) -timeout=60 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ)/findings/$$name/ $(FUZZ_FLAGS) \
	    $(FUZZ)/scratch/$$name tests/fuzz/corpus/$$name; \
	done

bench: build
	$(BUILD)/bench/tarvel_bench

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
