# The commands: `make run`, `make test`, `make bench` and `make screenshot`.
.PHONY: run test bench screenshot clean
run:
	@tools/run.sh
test:
	@tools/test.sh
bench:
	@tools/bench.sh
screenshot:
	@tools/screenshot.sh
clean:
	rm -rf build
