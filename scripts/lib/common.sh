# Shared by the scripts: the repository root, Debian packages, the build.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

# Installs the Debian packages that are missing (as root, with apt-get).
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# qt6-svg-dev brings the SVG image plugin the program draws its pictures with.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-base-dev-tools libsqlite3-dev
    libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation qt6-translations-l10n poppler-utils
    libical-dev libcsv-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev postgresql libpq-dev)

# What building and checking the Debian package needs besides the build (scripts/package).
PACKAGE_PACKAGES=(librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils)

# Configures $BUILD_DIR (once; arguments are cmake options, e.g. -DVORLANTO_BUILD_BENCH=ON).
configure_project() {
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
}

# Configures (once) and builds everything into $BUILD_DIR; arguments are cmake options.
build_project() {
    configure_project "$@"
    cmake --build "$BUILD_DIR"
}

# Builds only the two programs, for a start without tests and benchmarks.
build_programs() {
    configure_project "$@"
    cmake --build "$BUILD_DIR" --target vorlanto vorlanto-tool
}
