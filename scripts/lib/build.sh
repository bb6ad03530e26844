# Sourced by the start and test scripts: configures and builds one CMake
# preset, showing the build's output only when a step fails.
# Usage: build_preset PRESET [extra arguments for cmake --build]
build_preset() {
    local preset=$1 out
    shift
    out=$({ cmake --preset "$preset" && cmake --build --preset "$preset" -j"$(nproc)" "$@"; } 2>&1) ||
        { printf '%s\n' "$out"; return 1; }
}
