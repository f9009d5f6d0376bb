# The two commands a newcomer needs, each doing its own set-up. See README.md.
PRESETS := default asan

.PHONY: play test build deps format clean

# Builds the game and starts it in a window; `make play ARGS="--tilt mouse"` passes options.
play: build
	./build/default/vireta $(ARGS)

test: deps
	@for p in $(PRESETS); do \
	  cmake --preset $$p >/dev/null && cmake --build --preset $$p && ctest --preset $$p || exit 1; \
	done

build: deps
	cmake --preset default >/dev/null && cmake --build --preset default

deps:
	@tools/install-deps.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
