# The two set-up commands: `make run` starts the terminal on an emulated board, `make test` runs every test.
JOBS ?= $(shell nproc)
RELEASE := build/release
ASAN := build/asan
BENCH := build/bench
ROOT ?= $(CURDIR)/build/root

.PHONY: all deps build test test-release test-asan bench run root clean screenshots

all: build

deps:
	@tools/install-deps.sh

$(RELEASE)/build.ninja:
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN)/build.ninja:
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLORA_SANITIZE=ON

$(BENCH)/build.ninja:
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELLORA_TESTS=OFF -DQUELLORA_BENCH=ON

build: deps $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS)

# Every test twice: an optimised build, then under AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps $(RELEASE)/build.ninja $(ASAN)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS)
	cmake --build $(ASAN) -j $(JOBS)
	cd $(RELEASE) && ctest -j $(JOBS) --output-on-failure
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest -j $(JOBS) --output-on-failure

# Rewrites the screenshot references under tests/references from the current screens, and the
# pictures of the docs; review the changed pictures before committing them.
screenshots: build
	cd $(RELEASE) && PANEL_UPDATE_SCREENSHOTS=1 ctest --output-on-failure \
	  -R 'Shots|Screenshots\.|Screenshots?$$|MatchTheirPictures|LauncherScreens|DlgKillTimeTest|DlgWeekTimeTest|DlgKeypadTest'
	cmake --build $(RELEASE) --target screenshots

bench: deps $(BENCH)/build.ninja
	cmake --build $(BENCH) -j $(JOBS)
	tools/run-bench.sh $(BENCH)

root: build
	tools/make-root.sh $(RELEASE) $(ROOT)

run: root
	tools/run-terminal.sh $(RELEASE) $(ROOT)

clean:
	rm -rf build
