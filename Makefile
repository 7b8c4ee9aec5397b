# The two commands: `make run` and `make test` (and `make bench`).
.PHONY: run test bench clean
run:
	@tools/run.sh
test:
	@tools/test.sh
bench:
	@tools/bench.sh
clean:
	rm -rf build
