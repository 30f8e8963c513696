# Shared by the scripts: where things are, and package installation.
set -euo pipefail

ZOB_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZOB_BUILD="${ZOB_BUILD:-$ZOB_ROOT/build}"

# Debian packages the project needs to build, test and run its demo.
ZOB_PACKAGES=(
    cmake g++ ninja-build pkg-config
    libcurl4-openssl-dev libjpeg62-turbo-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nginx apache2-utils
    qt6-base-dev xvfb xauth
)

# What scripts/bench needs beyond them: the downloaders it measures against.
ZOB_BENCH_PACKAGES=(curl aria2)

# What scripts/fuzz needs beyond them: clang and its libFuzzer.
ZOB_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

zob_missing_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    echo "${missing[@]:-}"
}

# Installs what is missing when we are root; otherwise prints the command.
zob_ensure_packages() {
    local missing
    missing="$(zob_missing_packages "$@")"
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "installing: $missing" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq >&2
        # shellcheck disable=SC2086
        apt-get install -y -qq --no-install-recommends $missing >&2
    else
        echo "missing packages; run as root:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
        return 1
    fi
}

# Configures and builds everything into $1 with extra cmake arguments.
zob_build() {
    local dir="$1"
    shift
    cmake -S "$ZOB_ROOT" -B "$dir" -G Ninja -DZOB_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

# Configures $1 with extra cmake arguments and builds only the targets in $2.
zob_build_targets() {
    local dir="$1" targets="$2"
    shift 2
    cmake -S "$ZOB_ROOT" -B "$dir" -G Ninja -DZOB_WERROR=ON "$@" >/dev/null
    # shellcheck disable=SC2086
    cmake --build "$dir" -j "$(nproc)" --target $targets
}
