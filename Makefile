# The two commands a user needs: `make demo` and `make test`. Everything else is a step of those.
.PHONY: demo build test dist fuzz bench packages sanitize-build clean

MAKEFLAGS += --no-print-directory

# Under CI a warning fails the build.
WERROR := $(if $(filter true,$(CI)),ON,OFF)
CONFIGURE_FLAGS := -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)

# Wine is needed by the demo, and by the tests only where it can be had (under CI it must).
WINE_FOR_TESTS := $(if $(filter true,$(CI)),,--optional)

packages:
	scripts/install-packages build

build: packages
	cmake --preset host $(CONFIGURE_FLAGS) >/dev/null
	cmake --build --preset host --parallel
	cmake --preset windows $(CONFIGURE_FLAGS) >/dev/null
	cmake --build --preset windows --parallel
	cmake --preset windows-x64 $(CONFIGURE_FLAGS) >/dev/null
	cmake --build --preset windows-x64 --parallel

# The unit tests again, and the fuzzer, under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-build: packages
	scripts/install-packages sanitize
	cmake --preset sanitize $(CONFIGURE_FLAGS) >/dev/null
	cmake --build --preset sanitize --parallel

# PACKAGE=path/to/folder tries a driver package of your own instead of the example.
demo: build
	scripts/install-packages wine
	PACKAGE="$(PACKAGE)" scripts/demo

test: build sanitize-build
	scripts/install-packages $(WINE_FOR_TESTS) wine dist
	ctest --test-dir build/host --output-on-failure
	ctest --preset sanitize

# The release bundle in build/dist; signed where SIGN_PFX and SIGN_PASSWORD_FILE are given.
dist: build
	scripts/install-packages dist
	SIGN_PFX="$(SIGN_PFX)" SIGN_PASSWORD_FILE="$(SIGN_PASSWORD_FILE)" \
	  SIGN_TIMESTAMP_URL="$(SIGN_TIMESTAMP_URL)" SIGN_CA_FILE="$(SIGN_CA_FILE)" scripts/dist build/dist

FUZZ_SECONDS ?= 60
FUZZER := build/sanitize/tests/fuzz/temp_location_fuzzer
fuzz: sanitize-build
	$(FUZZER) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=build/sanitize/tests/fuzz/ build/sanitize/tests/fuzz/corpus tests/fuzz/corpus

bench: build
	scripts/install-packages wine bench
	scripts/bench

clean:
	rm -rf build
