# The two commands a new machine needs: `make run` and `make test`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
BENCH_BUILD ?= build-bench
PACKAGE_BUILD ?= build-package
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build build-app test test-release test-asan run package fuzz bench bench-window screenshot clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

test: test-release test-asan

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANT_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Only what the editor needs: the window and the runner, not the tests.
build-app: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS) --target zorvant zorvant-run

run: build-app
	$(BUILD)/bin/zorvant

# The Debian package, in $(PACKAGE_BUILD)/: install it with `sudo apt install ./FILE.deb`.
package: deps
	JOBS=$(JOBS) scripts/profiled-build.sh $(PACKAGE_BUILD) -DZORVANT_TESTS=OFF
	cd $(PACKAGE_BUILD) && cpack
	@ls $(PACKAGE_BUILD)/zorvant_*.deb

# Each target grows its own corpus in fuzz-corpus/<target>/, the first folder libFuzzer is
# given and so the one it writes to; the seed folders after it are only read.
FUZZ_TARGETS := fuzz_program fuzz_fast_paths fuzz_check fuzz_settings fuzz_program_text fuzz_runner_args fuzz_scenario fuzz_mission

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZORVANT_FUZZ=ON -DZORVANT_TESTS=OFF -DZORVANT_WINDOW=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	set -e; for t in $(FUZZ_TARGETS); do \
	  case $$t in \
	    fuzz_program)     extra="-dict=fuzz/basic.dict tests/programs fuzz/regressions" ;; \
	    fuzz_fast_paths)  extra="-dict=fuzz/basic.dict tests/programs fuzz/regressions" ;; \
	    fuzz_check)       extra="-dict=fuzz/basic.dict tests/checks tests/programs" ;; \
	    fuzz_runner_args) extra="-dict=fuzz/runner_args.dict fuzz/seeds/$$t" ;; \
	    *)                extra="fuzz/seeds/$$t" ;; \
	  esac; \
	  mkdir -p fuzz-corpus/$$t; \
	  echo "== $$t"; \
	  $(FUZZ_BUILD)/bin/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 fuzz-corpus/$$t $$extra; \
	done

bench: deps
	JOBS=$(JOBS) scripts/profiled-build.sh $(BENCH_BUILD) -DZORVANT_BENCH=ON -DZORVANT_TESTS=OFF -DZORVANT_WINDOW=OFF
	$(BENCH_BUILD)/bin/bench_interpreter
	bash bench/runner_time.sh $(BENCH_BUILD)/bin/zorvant-run
	bash bench/grade_time.sh $(BENCH_BUILD)/bin/zorvant-run
	bash bench/large_inputs.sh $(BENCH_BUILD)/bin/zorvant-run
	bash bench/compare.sh $(BENCH_BUILD)/bin/zorvant-run

bench-window: build
	bash bench/window_figures.sh $(BUILD)/bin

screenshot: build
	bash scripts/screenshot.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(PACKAGE_BUILD)
