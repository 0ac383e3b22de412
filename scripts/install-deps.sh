#!/bin/sh
# Installs the Debian packages Tarvel needs, if any are missing.
#   scripts/install-deps.sh            to build, test and run
#   scripts/install-deps.sh fuzz       also the fuzzing toolchain (make fuzz)
#   scripts/install-deps.sh package    also the packaging checks (make package, package-check)
set -e
# Build, run and test: compiler and build tools, the test and benchmark libraries, Qt and
# its Chinese translations, the JSON library, Boost.Math (root finding), Eigen (the plate
# finite-element method's sparse Cholesky, header-only), the window's font,
# and poppler-utils, Xvfb and openbox (a window manager for the window's placement) for the
# report and window tests.
packages="cmake ninja-build g++ libgtest-dev libbenchmark-dev qt6-base-dev qt6-translations-l10n
nlohmann-json3-dev libboost-dev libeigen3-dev fonts-wqy-zenhei poppler-utils xvfb xauth openbox"
for set in "$@"; do
    case "$set" in
    fuzz) packages="$packages clang-14 libclang-rt-14-dev" ;;
    package) packages="$packages dpkg-dev file lintian desktop-file-utils appstream man-db shared-mime-info" ;;
    *) echo "install-deps.sh: unknown package set '$set'" >&2; exit 2 ;;
    esac
done
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
