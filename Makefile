# The commands: `make run`, `make test`, `make bench`, `make leaks`, `make soak`,
# `make screenshot` and `make dist`.
.PHONY: run test bench leaks soak screenshot dist clean
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
# The release: dist/ with both zips, the .exe files and SHA256SUMS.
dist:
	@tools/dist.sh
clean:
	rm -rf build dist
