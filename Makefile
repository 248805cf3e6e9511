# The two commands of the project (see README.md):
#   make demo   runs Tiqora Desk under Wine against a sample suite installation
#   make test   builds and runs every test
# Both install what a fresh Debian 12 machine lacks first.
.PHONY: test demo build bench bench-resend bench-history bench-ticket-history bench-screenshot bench-tls fuzz clean

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

bench-ticket-history:
	bash tools/bench-ticket-history.sh

bench-screenshot:
	bash tools/bench-screenshot.sh

bench-tls:
	bash tools/bench-tls.sh

# Fuzzes the core's readers of outside input (FUZZ_SECONDS=N bounds each target).
fuzz:
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash tools/fuzz.sh

FUZZ_SECONDS ?= 600

clean:
	rm -rf build/native build/win build/wine build/fuzz
