# The commands: `make run`, `make test`, `make bench`, `make leaks`, `make soak`
# and `make screenshot`.
.PHONY: run test bench leaks soak screenshot clean
run:
	@tools/run.sh
test:
	@tools/test.sh
bench:
	@tools/bench.sh
leaks:
	@tools/leaks.sh
# make soak [DURATION=seconds] [SEED=n] [ARCHES="i686 x86_64"]
soak:
	@DURATION="$(DURATION)" SEED="$(SEED)" ARCHES="$(ARCHES)" tools/soak.sh
screenshot:
	@tools/screenshot.sh
clean:
	rm -rf build
