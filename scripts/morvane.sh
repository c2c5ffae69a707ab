#!/usr/bin/env bash
# Set-up, build, run and test Morvane on Debian 12.
#
#   scripts/morvane.sh run     install what is missing, build, start the calculator
#   scripts/morvane.sh test    install what is missing, build, run every test
#   scripts/morvane.sh fast    the everyday lane: build without Qt, run the unit and scenario tests
#   scripts/morvane.sh format-check   check that the C++ sources are formatted (clang-format)
#   scripts/morvane.sh asan    the same tests in a build with AddressSanitizer and UBSan
#   scripts/morvane.sh fuzz [SECONDS]   build the fuzz target with clang and run it
#   scripts/morvane.sh bench   build and run the benchmarks
#   scripts/morvane.sh package build the Debian package (build-pkg/morvane_*.deb), check it with lintian
#   scripts/morvane.sh package-test   build the package, install it, try it, remove it (as root)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
jobs=$(nproc 2>/dev/null || echo 2)

build_pkgs=(build-essential cmake ninja-build qt6-base-dev libxcb1-dev libx11-dev libxext-dev libcups2-dev
    fonts-liberation librsvg2-bin)
test_pkgs=(libgtest-dev libgmock-dev xvfb xauth xdotool xclip x11-utils imagemagick xcompmgr dbus at-spi2-core orca speech-dispatcher
    python3-pyatspi procps desktop-file-utils appstream man-db xdg-utils weston qt6-wayland wl-clipboard)
# The print tests: a PDF read back with poppler, and a private CUPS scheduler
# with a cups-pdf queue.
print_pkgs=(cups cups-client printer-driver-cups-pdf poppler-utils)
package_pkgs=(dpkg-dev file lintian)
fuzz_pkgs=(clang libclang-rt-14-dev)
bench_pkgs=(libbenchmark-dev xvfb x11-utils imagemagick procps dbus libglib2.0-bin libx11-dev libxtst-dev gcc python3)

need() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}" >&2
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
        "${sudo[@]}" apt-get update
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

configure() {  # build-dir [cmake args...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

# The Debian package, built by CPack from the install rules with Debian's
# hardening flags, under /usr, then checked by lintian.
package() {
    export DEB_BUILD_MAINT_OPTIONS=hardening=+format,+fortify,+stackprotectorstrong,+relro
    rm -f build-pkg/morvane_*.deb
    cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVANE_TESTS=OFF \
        -DCMAKE_INSTALL_PREFIX=/usr -DMORVANE_DEBIAN_DOCS=ON \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
    cmake --build build-pkg -j"$jobs"
    (cd build-pkg && cpack -G DEB >/dev/null)
    local deb
    deb=$(ls build-pkg/morvane_*.deb)
    echo "== lintian $deb"
    lintian --fail-on error --display-info "$deb"
    echo "== built $deb"
}

run_tests() {  # build-dir
    export QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96
    ctest --test-dir "$1" --output-on-failure -j"$jobs" --timeout 300
}

case "${1:-}" in
    run)
        need "${build_pkgs[@]}" "${test_pkgs[@]}"
        configure build
        exec ./build/morvane
        ;;
    test)
        need "${build_pkgs[@]}" "${test_pkgs[@]}" "${print_pkgs[@]}"
        configure build -DMORVANE_WERROR=ON
        run_tests build
        ;;
    fast)
        # No Qt and no display: the engine, the panels, the window model and
        # the replay driver, with their unit tests and the scenarios.
        need build-essential cmake ninja-build libgtest-dev libgmock-dev
        configure build-fast -DMORVANE_GUI=OFF -DMORVANE_WERROR=ON
        ctest --test-dir build-fast --output-on-failure -j"$jobs" -L 'unit|scenario'
        ;;
    format-check)
        need clang-format
        git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
        echo "== the sources are formatted"
        ;;
    asan)
        need "${build_pkgs[@]}" "${test_pkgs[@]}" "${print_pkgs[@]}"
        flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
        configure build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" -DMORVANE_WERROR=ON \
            -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        run_tests build-asan
        ;;
    fuzz)
        need "${build_pkgs[@]}" "${fuzz_pkgs[@]}"
        CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DMORVANE_GUI=OFF -DMORVANE_TESTS=OFF -DMORVANE_FUZZ=ON -DMORVANE_WERROR=ON >/dev/null
        cmake --build build-fuzz -j"$jobs" --target morvane-fuzz
        mkdir -p build-fuzz/corpus
        ./build-fuzz/fuzz/morvane-fuzz -max_total_time="${2:-60}" -timeout=10 -max_len=1024 -print_final_stats=1 \
            -artifact_prefix=build-fuzz/ \
            build-fuzz/corpus fuzz/corpus
        ;;
    package)
        need "${build_pkgs[@]}" "${package_pkgs[@]}"
        package
        ;;
    package-test)
        need "${build_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}"
        package
        configure build  # the end-to-end probe that finds the keys
        deb=$(ls build-pkg/morvane_*.deb)
        bash tests/desktop/package.sh "$deb" build/tests/e2e/morvane-e2e-probe build/tests/desktop/artifacts
        ;;
    bench)
        need "${build_pkgs[@]}" "${bench_pkgs[@]}"
        configure build-bench -DCMAKE_BUILD_TYPE=Release -DMORVANE_BENCH=ON -DMORVANE_TESTS=OFF
        ./build-bench/bench/morvane-bench
        ./build-bench/bench/morvane-print-bench
        ;;
    *)
        sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
        exit 2
        ;;
esac
