# The two entry points: `make demo` (build and run the installer on the sample distribution)
# and `make test` (build and run every test). Both install what they need first.
.PHONY: all deps build demo test clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

demo: build
	@scripts/demo.sh

test: build
	@scripts/test.sh

clean:
	rm -rf build
