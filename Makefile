# The two commands a newcomer needs, each doing its own set-up. See README.md.
PRESETS := default asan

.PHONY: play test build web serve deb windows deps format clean

# Builds the game and starts it in a window; `make play ARGS="--tilt mouse"` passes options.
play: build
	./build/default/vireta $(ARGS)

# The Wine tests run the Windows build, so it is built before the presets' tests run.
test:
	@tools/install-deps.sh test
	cmake --preset default >/dev/null && cmake --build --preset default
	cmake --preset windows >/dev/null && cmake --build --preset windows
	@for p in $(PRESETS); do \
	  cmake --preset $$p >/dev/null && cmake --build --preset $$p && ctest --preset $$p || exit 1; \
	done

# What playing needs, no more: the tests' libraries are built only when present.
build:
	@tools/install-deps.sh play
	cmake -S . -B build/default -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && cmake --build build/default

# The page and the headless host for node, in build/web (the native build makes the
# pictures and glyph tables they embed).
web: build
	@tools/install-deps.sh web
	VIRETA_NATIVE_BUILD=$(CURDIR)/build/default cmake --preset web >/dev/null && cmake --build --preset web

# Serves the page's folder, build/web/page, on loopback; `make serve ADDRESS=0.0.0.0` on
# the local network, over HTTPS with a certificate of its own, as phones give motion only
# to secure pages.
serve: web
	python3 tools/serve_web.py build/web/page --certificates build/web-certificate $(if $(ADDRESS),--address $(ADDRESS),)

# The Debian package, build/vireta_VERSION_ARCH.deb, from a build of its own in build/deb.
deb:
	@tools/install-deps.sh deb
	tools/make-deb.sh

# The game for 64-bit Windows in build/windows, packed into
# build/vireta-VERSION-windows-x64.zip (tools/make-windows-zip.sh); the native build's
# tools draw the pictures and glyph tables it embeds.
windows:
	@tools/install-deps.sh windows
	cmake -S . -B build/default -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && cmake --build build/default --target make_artwork make_glyph_table
	cmake --preset windows >/dev/null && cmake --build --preset windows
	tools/make-windows-zip.sh

deps:
	@tools/install-deps.sh test

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
