# Shared by scripts/run and scripts/test. Sourced, not run.

QUORLET_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
QUORLET_BUILD="$QUORLET_ROOT/build"
QUORLET_JOBS="${QUORLET_JOBS:-2}"

say() { printf '\n== %s\n' "$*"; }

# ensure_packages [LIST]: installs the Debian packages of LIST (default
# scripts/lib/packages.txt) that are not installed yet.
ensure_packages() {
    local list="${1:-$QUORLET_ROOT/scripts/lib/packages.txt}"
    local missing=() pkg
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done < "$list"
    if ((${#missing[@]})); then
        say "installing ${missing[*]}"
        local sudo=()
        [[ $(id -u) -ne 0 ]] && sudo=(sudo)
        export DEBIAN_FRONTEND=noninteractive
        # A mirror that fails for a moment should not fail the whole run: try three times.
        local attempt
        for attempt in 1 2 3; do
            if "${sudo[@]}" apt-get update -qq &&
                "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
                return 0
            fi
            echo "package installation failed (attempt $attempt of 3)" >&2
            sleep $((attempt * 10))
        done
        return 1
    fi
}

# build_preset PRESET [TARGET...]: configures and builds it (everything, or only the targets).
build_preset() {
    local preset="$1"
    local targets=("${@:2}")
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$QUORLET_JOBS" ${targets[@]:+--target "${targets[@]}"}
}

# A private X server for Wine when there is no display. Sets DISPLAY and XVFB_PID.
XVFB_PID=""
start_xvfb_if_needed() {
    [[ -n "${DISPLAY:-}" ]] && return 0
    local n
    for n in $(seq 90 120); do
        [[ -e "/tmp/.X11-unix/X$n" || -e "/tmp/.X$n-lock" ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 100); do
            [[ -e "/tmp/.X11-unix/X$n" ]] && break
            sleep 0.1
        done
        if [[ ! -e "/tmp/.X11-unix/X$n" ]] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start on display :$n" >&2
            XVFB_PID=""
            return 1
        fi
        export DISPLAY=":$n"
        return 0
    done
    echo "no free display number for Xvfb" >&2
    return 1
}

stop_xvfb() {
    if [[ -n "$XVFB_PID" ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

WINE_PREFIX_DIR="$QUORLET_BUILD/win64/wine"
# scripts/run's own prefix, set up for a desktop with a window manager.
WINE_RUN_PREFIX_DIR="$QUORLET_BUILD/win64/wine-run"

stop_wineserver() {
    if [[ -d "$WINE_PREFIX_DIR" ]]; then
        WINEPREFIX="$WINE_PREFIX_DIR" wineserver -k 2>/dev/null || true
    fi
}

# substitute_defines HEADER: copies standard input to standard output with every @QUORLET_X@
# replaced by the value of `#define QUORLET_X "value"` in HEADER (the generated
# quorlet_version.h), so that the help file, the read-me and the installer name the version, the
# home page and the contact address of that one header.
substitute_defines() {
    local header="$1" script
    script=$(sed -n -E 's/^#define (QUORLET_[A-Z_]+) "(.*)"$/\1\t\2/p' "$header" |
        while IFS=$'\t' read -r name value; do
            value=${value//\\/\\\\}
            value=${value//|/\\|}
            value=${value//&/\\&}
            printf 's|@%s@|%s|g\n' "$name" "$value"
        done)
    sed -e "$script"
}

# pe_timestamp FILE.exe: the link time in the PE header of a Windows program, in seconds since
# 1970 (the header's offset is at 0x3C; the time follows the "PE\0\0" signature and two words).
pe_timestamp() {
    local header
    header=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
    od -An -tu4 -j $((header + 8)) -N 4 "$1" | tr -d ' '
}
