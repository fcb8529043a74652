# The two commands a user needs: `make demo` and `make test`. Everything else is a step of those.
.PHONY: build test packages clean

# Under CI a warning fails the build.
WERROR := $(if $(filter true,$(CI)),ON,OFF)
CONFIGURE_FLAGS := -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)

packages:
	scripts/install-packages build

build: packages
	cmake --preset host $(CONFIGURE_FLAGS) >/dev/null
	cmake --build --preset host --parallel
	cmake --preset windows $(CONFIGURE_FLAGS) >/dev/null
	cmake --build --preset windows --parallel

test: build
	ctest --test-dir build/host --output-on-failure

clean:
	rm -rf build
