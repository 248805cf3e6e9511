# The two commands of the project (see README.md):
#   make demo   runs Tiqora Desk under Wine against a sample suite installation
#   make test   builds and runs every test
# Both install what a fresh Debian 12 machine lacks first.
.PHONY: test demo build bench bench-resend bench-history bench-screenshot clean

test:
	bash tools/run-tests.sh

demo:
	bash tools/demo.sh

build:
	bash tools/build.sh

bench:
	bash tools/bench-startup.sh

bench-resend:
	bash tools/bench-resend.sh

bench-history:
	bash tools/bench-history.sh

bench-screenshot:
	bash tools/bench-screenshot.sh

clean:
	rm -rf build/native build/win build/wine
