# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run. Idempotent: with everything present it only runs the (incremental) build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

APT_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-webengine-dev qt6-webchannel-dev qt6-pdf-dev qt6-translations-l10n libqt6opengl6-dev libgl-dev
    xvfb xauth xdotool imagemagick fonts-dejavu-core poppler-utils
    nodejs npm
    # the help viewer the help button starts, and chmlib's tools the tests read help.chm with
    xchm libchm-bin
    # the class's back-up file (ZIP)
    libarchive-dev
    # the SWF reader's compressed movies (CWS, ZWS)
    zlib1g-dev liblzma-dev
    # compiles the ActionScript 3 test movies (tests/flash/as3)
    haxe
    # the validators the install test runs over the menu entries and the AppStream metadata
    desktop-file-utils appstream
)

# One line per stage, wall and CPU seconds (user+sys of the commands it waited for), so that
# a slow set-up shows where its time went.
children_cpu_ticks() {
    local fields
    read -ra fields < /proc/$$/stat
    echo $(( fields[15] + fields[16] ))
}

stage_start() {
    stage_wall=$EPOCHREALTIME
    stage_ticks=$(children_cpu_ticks)
}

stage_done() {
    local wall cpu
    wall=$(awk -v a="$stage_wall" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.0f", b - a }')
    cpu=$(( ($(children_cpu_ticks) - stage_ticks) / $(getconf CLK_TCK) ))
    echo "$1 $wall s (cpu $cpu s)"
}

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

install_apt_packages() {
    local missing=()
    for p in "${APT_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    # node and npm may come from elsewhere than Debian's packages; any working pair will do.
    if command -v node >/dev/null && command -v npm >/dev/null; then
        local kept=()
        for p in "${missing[@]}"; do [ "$p" = nodejs ] || [ "$p" = npm ] || kept+=("$p"); done
        missing=("${kept[@]+"${kept[@]}"}")
    fi
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

install_npm_packages() {
    # The lock file pins the Flash emulator; reinstall only when it changed.
    local stamp="$ROOT/node_modules/.pellora-lock.sha256"
    local want
    want=$(sha256sum "$ROOT/package-lock.json" | cut -d' ' -f1)
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ -f "$ROOT/node_modules/@ruffle-rs/ruffle/ruffle.js" ]; then
        return 0
    fi
    echo "setup: installing the pinned npm packages"
    (cd "$ROOT" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
    echo "$want" > "$stamp"
}

# Optimised as shipped; -g1 keeps function names and line numbers for back traces at a fraction of
# full debug information's cost in compiling and linking the web engine programs (configure a
# build folder of your own with -g for a debugger's full view).
configure() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" >/dev/null
}

stage_start; install_apt_packages; stage_done "setup: packages"
stage_start; install_npm_packages; stage_done "setup: npm"
if [ ! -f "$BUILD/build.ninja" ]; then
    stage_start; configure; stage_done "setup: configure"
fi
stage_start; cmake --build "$BUILD" -j "$(nproc)"; stage_done "setup: build"
