#!/bin/bash
# The digest of the rule, the parse, the pictures and the tables over the
# same seeded inputs, from the Linux program and from the page's WebAssembly
# in node: the two must print the same, byte for byte.
# Usage: digest.sh LINUX_DIGEST PAGE_DIGEST.js COUNT
set -euo pipefail
linux=$("$1" "$3")
page=$(node "$2" "$3")
printf 'Linux:\n%s\nPage:\n%s\n' "$linux" "$page"
[ "$linux" = "$page" ] || { echo "the digests differ" >&2; exit 1; }
