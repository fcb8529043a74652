# The two commands a user needs: `make demo` and `make test`. Everything else is a step of those.
.PHONY: demo build test packages clean

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

demo: build
	scripts/install-packages wine
	scripts/demo

test: build
	scripts/install-packages $(WINE_FOR_TESTS) wine
	ctest --test-dir build/host --output-on-failure

clean:
	rm -rf build
