# The two commands a new machine needs: `make run` and `make test`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
BENCH_BUILD ?= build-bench
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build test test-release test-asan run fuzz bench bench-window screenshot clean

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

run: build
	$(BUILD)/bin/zorvant

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZORVANT_FUZZ=ON -DZORVANT_TESTS=OFF -DZORVANT_WINDOW=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_program
	mkdir -p fuzz-corpus
	$(FUZZ_BUILD)/bin/fuzz_program -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -dict=fuzz/basic.dict fuzz-corpus tests/programs fuzz/regressions

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DZORVANT_BENCH=ON -DZORVANT_TESTS=OFF -DZORVANT_WINDOW=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	$(BENCH_BUILD)/bin/bench_interpreter
	bash bench/runner_time.sh $(BENCH_BUILD)/bin/zorvant-run

bench-window: build
	bash bench/window_figures.sh $(BUILD)/bin

screenshot: build
	bash scripts/screenshot.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
