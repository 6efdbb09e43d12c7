# The commands of the README. Each installs what is missing first.
.PHONY: deps build test demo run dist clean

PRESETS := host win32 win64
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"

deps:
	@tools/install-deps.sh

build: deps
	@for preset in $(PRESETS); do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done

# The Windows tests share one X server, and through it one Wine desktop.
test: build
	ctest --preset host
	$(XVFB) ctest --preset win32
	$(XVFB) ctest --preset win64

demo: deps
	@tools/demo.sh

run: deps
	cmake --preset win32 >/dev/null && cmake --build --preset win32 --target somnivo
	tools/wine-run.sh build/win32/somnivo.exe

dist: deps
	@tools/dist.sh

clean:
	rm -rf build
