# The commands: `make run`, `make test`, `make bench`, `make leaks` and `make screenshot`.
.PHONY: run test bench leaks screenshot clean
run:
	@tools/run.sh
test:
	@tools/test.sh
bench:
	@tools/bench.sh
leaks:
	@tools/leaks.sh
screenshot:
	@tools/screenshot.sh
clean:
	rm -rf build
