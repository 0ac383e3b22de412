# The two entry points of the README: `make run` and `make test`.
BUILD ?= build
ASAN ?= build-asan
PKGBUILD ?= build-package
FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
# One fuzz target per folder of tests/fuzz/corpus; FUZZ_FLAGS go to every libFuzzer run.
FUZZ_TARGETS ?= $(notdir $(wildcard tests/fuzz/corpus/*))
FUZZ_FLAGS ?=
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DTARVEL_WERROR=ON

.PHONY: all deps build run calc test sweep equivalence-record sanitize fuzz bench screenshot package \
	package-check clean

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

# The seeded sweeps with the reference loops run on every base, where make test compares most
# bases with the reference's recorded runs. CI runs it after make test.
sweep: build
	TARVEL_EQUIVALENCE_LIVE=1 ctest --test-dir $(BUILD) --output-on-failure -j2 -L slow

# Writes tests/data/equivalence-reference.txt, the reference loops' run on every seeded base.
# Only a change of the reference loops or of the seeded bases calls for it.
equivalence-record: build
	TARVEL_EQUIVALENCE_RECORD=$(CURDIR)/tests/data/equivalence-reference.txt \
	  $(BUILD)/tests/engine_tests --gtest_filter=Equivalence.SeededRandomBases --gtest_brief=1

# Saves docs/window.png and docs/design-window.png: the window and the design window after
# Calculate on the default inputs; docs/load-table.png: the tab 荷载组合 with 50 cases computed.
screenshot: build
	TARVEL_SCREENSHOT=$(CURDIR)/docs/window.png QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/window_tests -platform offscreen screenshot
	$(BUILD)/cli/tarvel-calc --report /tmp/tarvel-report.pdf --project-name 示例工程 --member GZ-1 \
	  --designer 张工 --checker 李工 1000 1000 1520 1620 18 >/dev/null
	pdftoppm -r 80 -png -f 1 -l 1 -singlefile /tmp/tarvel-report.pdf $(CURDIR)/docs/report-page1
	TARVEL_SCREENSHOT=$(CURDIR)/docs/design-window.png TARVEL_SCREENSHOT_SIZE=1280x640 \
	  QT_QPA_PLATFORM=offscreen $(BUILD)/tests/design_window_tests -platform offscreen screenshot
	TARVEL_SCREENSHOT=$(CURDIR)/docs/result-diagram.png TARVEL_SCREENSHOT_TAB=1 \
	  QT_QPA_PLATFORM=offscreen $(BUILD)/tests/design_window_tests -platform offscreen screenshot
	TARVEL_SCREENSHOT=$(CURDIR)/docs/load-table.png QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/load_table_tests -platform offscreen screenshot

# The engine tests and the fuzz corpora once more under AddressSanitizer and
# UndefinedBehaviorSanitizer. Line tables only (-g1): the reports keep their file and line, and
# the build takes a third less time. The plate model's finest meshes and three of its four
# contact starts run in the ordinary build only: the same code on more elements, and a third
# of the sanitized run.
sanitize: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEL_WERROR=ON \
	  -DTARVEL_BUILD_UI=OFF -DTARVEL_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
	  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
	cmake --build $(ASAN) --target engine_tests fuzz_corpora
	TARVEL_EQUIVALENCE_CASES=300 TARVEL_BOUNDS_CASES=100 $(ASAN)/tests/engine_tests --gtest_brief=1 \
	  --gtest_filter='-MeshConvergence.*:*ContactStart*/DefaultBase:*ContactStart*/Tension:*ContactStart*/LiftsOff'
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

# Builds every bench in $(BUILD)/bench/ (make build leaves them out) and runs the search's.
bench: build
	cmake --build $(BUILD) --target benches
	$(BUILD)/bench/tarvel_bench

# The Debian package $(BUILD)/tarvel_<version>_amd64.deb: built apart, with Debian's hardening
# flags, and only what the package installs.
package:
	@scripts/install-deps.sh package
	cmake -S . -B $(PKGBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
	cmake --build $(PKGBUILD) -j2 --target tarvel tarvel-calc tarvel-calc-report tarvel_packaging_files
	rm -f $(PKGBUILD)/tarvel_*.deb
	cd $(PKGBUILD) && cpack -G DEB
	mkdir -p $(BUILD) && cp $(PKGBUILD)/tarvel_*.deb $(BUILD)/

# The package through the validators, lintian, and its programs run from the unpacked files.
package-check: package
	packaging/check-package.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(PKGBUILD)
