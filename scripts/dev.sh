#!/usr/bin/env bash
# Builds the program and runs it, its tests or its benchmarks.
#   scripts/dev.sh run     build and start the program
#   scripts/dev.sh test    build and run every test
#   scripts/dev.sh asan    build with AddressSanitizer and UBSan and run every test
#   scripts/dev.sh bench   build and run the benchmarks
#   scripts/dev.sh package build the Debian package (build-package/optivar_*.deb) and lint it
#   scripts/dev.sh packages print the Debian packages every command installs
# Missing Debian packages are installed first (as root, with apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."

# What every command needs. The test command checks that the configure step
# found nothing outside these packages and their hard dependencies.
packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev libqt6opengl6-dev qt6-charts-dev libquazip1-qt6-dev libgl-dev
          libbenchmark-dev libicu72 fonts-dejavu-core fonts-dejavu-extra
          qt6-translations-l10n help2man desktop-file-utils appstream clang-format)
# What the package command needs besides: dpkg-shlibdeps (dpkg-dev, which calls
# file) works out the package's dependencies; lintian checks the package.
package_tools=(dpkg-dev file lintian)

install_missing() { # install_missing PACKAGE...
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

configure() { # configure DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

build() { # build DIR [cmake options...]
    configure "$@"
    cmake --build "$1" -j "$(nproc)"
}

check_format() { # every C++ file as .clang-format lays it out
    find src tests bench tools \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run --Werror || {
        echo "Not formatted: run clang-format -i on the files named above." >&2
        return 1
    }
}

run_tests() { # run_tests DIR
    ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
}

cmd=${1:-run}
if [ "$cmd" = packages ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi
install_missing "${packages[@]}"
case "$cmd" in
    run)
        build build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            # No screen to show the program on: show what it computes for an example.
            echo "No display found; the evaluation of examples/Квартира.qzr follows." >&2
            exec build/tools/optivar-eval examples/Квартира.qzr
        fi
        # The program keeps its problems in DAT under the folder it starts in.
        exec build/src/optivar
        ;;
    test)
        check_format
        configure build
        bash scripts/check-deps.sh build "${packages[@]}"
        cmake --build build -j "$(nproc)"
        run_tests build
        ;;
    asan)
        build build-asan -DOPTIVAR_SANITIZE=ON -DOPTIVAR_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            run_tests build-asan
        ;;
    bench)
        build build-release -DCMAKE_BUILD_TYPE=Release
        for b in build-release/bench/bench_*; do
            [ -f "$b" ] && [ -x "$b" ] && "$b" --benchmark_min_time=0.2
        done
        ;;
    package)
        install_missing "${package_tools[@]}"
        rm -f build-package/optivar_*.deb
        build build-package -DCMAKE_BUILD_TYPE=Release -DOPTIVAR_TESTS=OFF -DOPTIVAR_BENCH=OFF
        (cd build-package && cpack -G DEB)
        lintian --fail-on error build-package/optivar_*.deb
        ls build-package/optivar_*.deb
        ;;
    *)
        echo "usage: $0 run|test|asan|bench|package|packages" >&2
        exit 2
        ;;
esac
