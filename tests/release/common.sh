# Sourced by the release tests: a temporary folder that goes away at the end,
# and clones of the repository's HEAD in it, each run through scripts/release.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
head=$(git -C "$repo" rev-parse HEAD)
. "$repo/scripts/lib/version.sh"
version=$(project_version <"$repo/CMakeLists.txt")
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-release-test.XXXXXX")
cleanups=()
cleanup() {
    local c
    for c in "${cleanups[@]}"; do eval "$c" || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# clone DIR: the repository's HEAD, committed state only, in DIR.
clone() {
    mkdir -p "$(dirname "$1")"
    git clone -q --no-hardlinks "$repo" "$1"
    git -C "$1" checkout -q --detach "$head"
}

# release DIR LOG [PART...]: scripts/release in the clone DIR, its output in
# LOG; the caller's environment decides the conditions.
release() {
    local dir=$1 log=$2
    shift 2
    local start=$SECONDS
    "$dir/scripts/release" "$@" >"$log" 2>&1 || { cat "$log" >&2; fail "scripts/release failed in $dir"; }
    echo "release ${*:-(all)} in $dir: $((SECONDS - start)) s"
}
