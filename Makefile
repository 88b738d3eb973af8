# make run   builds the saver and shows it.
# make test  builds every preset and runs every test.
# make bench runs the benchmarks and prints their figures.
# make windows builds the Windows savers alone: build/windows-x64/vesperglow.scr (64-bit) and
#              build/windows-i686/vesperglow.scr (32-bit), and an installer beside each.
# make windows-installer adds the release archive of both: build/windows-x64/vesperglow-<version>-windows.zip.
# make install puts the Linux program and its files under PREFIX (default /usr/local; DESTDIR
#              honoured); make uninstall removes them again.
# make gallery records the README's clips into docs/gallery/: the opening show and each burst kind.
# make fuzz    builds the fuzz targets with libFuzzer (clang) and runs each for FUZZ_SECONDS (default
#              60); by hand only: make test replays their committed corpora.
# make deb     builds the Debian package build/linux/package/vesperglow_<version>_amd64.deb and
#              checks it with lintian.

BUILD_PACKAGES := cmake g++ make pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
# The bitmap font's textures and drawing (GL 1.1 and GLU).
FONT_PACKAGES := libgl-dev libglu1-mesa-dev
# The GL scene, the offscreen host (Mesa EGL surfaceless, llvmpipe) and its PNG snapshots.
SCENE_PACKAGES := libgl-dev libglu1-mesa-dev libegl-dev libegl1-mesa-dev libgl1-mesa-dri libpng-dev
# The Linux settings store: a GLib key file.
SETTINGS_PACKAGES := libglib2.0-dev
# The GTK settings form (vesperglow --config), its modes from XRandR, and its test under Xvfb.
SETTINGS_FORM_PACKAGES := libgtk-3-dev libglib2.0-dev-bin libx11-dev libxrandr-dev xvfb xdotool imagemagick python3
# The X11 program and its tests: Xvfb, and Xorg with the dummy driver for display modes; input,
# screenshots, window queries (x11-utils), xrandr and xset (x11-xserver-utils) and the xscreensaver daemon;
# DPMS from libXext.
X11_PACKAGES := libx11-dev libxext-dev libxrandr-dev libxinerama-dev xvfb xauth xdotool imagemagick x11-utils x11-xserver-utils \
                xserver-xorg-core xserver-xorg-video-dummy xscreensaver python3 procps
# The recorder (FFmpeg's libraries and libwebp) and its tests: ffprobe and ffmpeg decode what it
# wrote, ImageMagick reads animated WebP and compares pictures.
RECORDER_PACKAGES := libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libwebp-dev ffmpeg imagemagick python3
# The Debian package: Depends from the linked libraries (dpkg-shlibdeps), its checks (lintian, the
# menu entry's validator) and its test, which installs it and runs it under the xscreensaver daemon.
PACKAGING_PACKAGES := dpkg-dev lintian desktop-file-utils xscreensaver xvfb imagemagick python3 procps passwd
# The Windows builds, their installers (NSIS) and their tests under Wine on Xvfb (the i386 Mesa libraries
# give 32-bit Wine's OpenGL a renderer; they install even where the kernel cannot execute them, and the
# 32-bit tests then skip).
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 g++-mingw-w64-i686 nsis wine wine64 wine32:i386 \
                    libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 xvfb xdotool imagemagick python3

# The fuzz targets as libFuzzer programs: clang and its runtime libraries.
FUZZ_PACKAGES := clang libclang-rt-14-dev

PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: run test bench fuzz packages build build-asan packages-windows windows windows-installer install uninstall deb gallery

packages:
	@tools/install_packages.sh $(BUILD_PACKAGES) $(FONT_PACKAGES) $(SCENE_PACKAGES) $(SETTINGS_PACKAGES) \
	                           $(X11_PACKAGES) $(SETTINGS_FORM_PACKAGES) $(RECORDER_PACKAGES) $(PACKAGING_PACKAGES)

packages-windows:
	@tools/install_packages.sh $(WINDOWS_PACKAGES)

windows: packages-windows
	@for preset in windows-x64 windows-i686; do \
	    cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done

windows-installer: windows
	@cmake --build --preset windows-x64 --target windows-release-archive

build: packages
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux

build-asan: packages
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan

# cmake --install rewrites its manifest on every install from this tree (the package's too) and
# leaves DESTDIR out of it, so make install keeps its own copy, with DESTDIR, for make uninstall.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install build/linux --prefix "$(PREFIX)"
	@sed 's|^|$(DESTDIR)|' build/linux/install_manifest.txt > build/linux/make-install-manifest.txt

uninstall:
	@test -f build/linux/make-install-manifest.txt || { echo "nothing installed by make install"; exit 1; }
	@xargs -d '\n' rm -fv -- < build/linux/make-install-manifest.txt
	@rm build/linux/make-install-manifest.txt

deb: build
	@rm -f build/linux/package/*.deb
	@cpack --config build/linux/CPackConfig.cmake -B build/linux/package
	lintian --info --fail-on error,warning build/linux/package/vesperglow_*.deb

# The show in a window on the X display; without one, eight seconds of it rendered offscreen to a PNG.
run: build
	@if [ -n "$$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then \
	    ./build/linux/host/x11/vesperglow; \
	else \
	    echo "no X display: rendering the show offscreen"; \
	    ./build/linux/host/headless/vesperglow-snapshot; \
	fi

# The suite that may report itself skipped (a machine that cannot run 32-bit programs) goes first,
# so that a run ends on the summaries of suites that ran.
test: build build-asan windows
	ctest --preset windows-i686
	ctest --preset windows-x64
	ctest --preset asan -L 'unit|gl|fuzz'
	ctest --preset linux

bench: build
	@for b in build/linux/bench/vesperglow-bench-*; do echo "== $$b"; "$$b"; done

# Each kind alone, title off, 60 a minute, from a few seconds in; the seed is one where the kind shows well.
# Committed: another library build may give other bytes for the same decoded frames.
GALLERY_KINDS := spherical:3 blast:3 weeping-willow:1 sparkling:3 chain-reaction:3 cork-screw:1 waver:1
GALLERY_WEIGHTS := --spherical 0 --blast 0 --weeping-willow 0 --sparkling 0 --chain-reaction 0 --cork-screw 0 --waver 0
GALLERY_CLIP := --size 480x270 --fps 30 --quality 50

gallery: build
	@mkdir -p docs/gallery
	build/linux/recorder/vesperglow-record $(GALLERY_CLIP) --seed 1 --seconds 6 --output docs/gallery/opening.webp
	@for entry in $(GALLERY_KINDS); do \
	    kind=$${entry%%:*}; seed=$${entry##*:}; \
	    build/linux/recorder/vesperglow-record $(GALLERY_CLIP) --seed $$seed --start 6 --seconds 5 \
	        --no-display-title --frequency 60 $(GALLERY_WEIGHTS) --$$kind 10 --output docs/gallery/$$kind.webp || exit 1; \
	done

fuzz: packages
	@tools/install_packages.sh $(FUZZ_PACKAGES)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) tools/fuzz.sh
