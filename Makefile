# make       install what is missing, build every module of the Windows target into
#            dist/gauges/ and the host into dist/bin/, and render previews into dist/previews/
# make test  build the windows, linux32 and linux32-asan targets and run every test
# make clean remove build/ and dist/

PRESETS := windows linux32 linux32-asan

.PHONY: all setup test clean previews

all: setup
	cmake --preset windows
	cmake --build --preset windows
	cmake --install build/windows --prefix dist --strip
	$(MAKE) --no-print-directory previews

setup:
	@scripts/setup-deps.sh

previews:
	@scripts/render-previews.sh dist

test: setup
	@set -e; for p in $(PRESETS); do \
	  echo "== $$p"; \
	  cmake --workflow --preset $$p; \
	done

clean:
	rm -rf build dist
