# The two commands: `make demo` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan

.PHONY: deps build test test-asan test-asan-qt fuzz demo clean

deps:
	@bash scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOVA_CORE_ONLY=ON -DQUOVA_SANITIZE=ON > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

# The Qt layers' tests under the same sanitizers, and whole unattended downloads (a plain
# one, a full disk at each kind of write, SIGTERM at random moments, hostile roots) under the
# leak checker (the program runs under libfaketime, hence the link order check off).
ASAN_QT_BUILD ?= build-asan-qt
CCACHE := $(shell command -v ccache)
QT_TESTS = quova_app_qt_tests quova_quotes_qt_tests quova_download_qt_tests quova_chart_qt_tests
SAN_ENV = QT_QPA_PLATFORM=offscreen TZ=Europe/Berlin \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
test-asan-qt: deps
	@cmake -S . -B $(ASAN_QT_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOVA_SANITIZE=ON \
		$(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE)) > /dev/null
	@cmake --build $(ASAN_QT_BUILD) -j $(JOBS) --target $(QT_TESTS) quova_e2e_tests
	@cd $(ASAN_QT_BUILD) && for t in $(QT_TESTS); do $(SAN_ENV) ./$$t --gtest_brief=1 || exit 1; done
	@cd $(ASAN_QT_BUILD) && $(SAN_ENV) ./quova_e2e_tests --gtest_brief=1 \
		--gtest_filter='DownloadRun.DailyRunFillsTheQuoteFilesAndEndsByItself:Faults.AFullDisk*:Faults.Terminated*:HostileRoot.*'

# Every libFuzzer target for FUZZ_SECONDS each (clang).
FUZZ_SECONDS ?= 30
fuzz: deps
	@bash scripts/fuzz-all $(FUZZ_SECONDS)

demo: build
	@bash scripts/run-demo $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(ASAN_QT_BUILD) build-fuzz
