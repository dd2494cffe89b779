# Two entry points: `make test` and `make play`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
ARGS       ?=

.PHONY: deps build build-asan test test-plain test-asan check-format play clean

deps:
	@bash tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBR_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

test-plain: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Every C and C++ file tracked by git is as clang-format makes it with the tree's .clang-format.
check-format: deps
	@bash tools/check-format.sh

test: check-format test-plain test-asan

# Builds the run tree (host, plug-ins, game libraries, media) and starts the host in it.
play: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target br_run_tree
	@bash tools/play.sh $(BUILD) $(ARGS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
