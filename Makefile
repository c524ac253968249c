# The two commands of the README: `make run` and `make test`. Each installs what is missing
# (scripts/install-deps.sh), builds with CMake and runs. `make bench` measures; `make sheet`
# draws every picture onto docs/contact-sheet.png.

JOBS ?= $(shell nproc)

.PHONY: all build run test bench sheet clean

all: build

build:
	@scripts/install-deps.sh build
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	./build/Dorgo

test:
	@scripts/install-deps.sh test
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)
	@ctest --preset default -j $(JOBS)
	@echo "The same tests again, under AddressSanitizer and UndefinedBehaviorSanitizer:"
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@ctest --preset sanitize -j $(JOBS)

bench:
	@scripts/install-deps.sh bench
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)
	@bench/run.sh

sheet:
	@scripts/install-deps.sh build
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS) --target contact_sheet
	./build/tools/contact_sheet/contact_sheet docs/contact-sheet.png

# The Windows program, cross-compiled with mingw-w64: build-windows/Dorgo.exe.
.PHONY: windows
windows:
	@scripts/install-deps.sh windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

clean:
	rm -rf build build-sanitize build-windows
