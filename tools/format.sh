#!/bin/sh
# Formats the C++ sources with the repository's .clang-format; with --check
# it changes nothing and fails, naming them, when any source differs.
set -eu
cd "$(dirname "$0")/.."
mode=${1:-}
bad=""
for f in $(find app lib model settings tests fuzz bench -name '*.cpp' -o -name '*.h' | sort); do
    if [ "$mode" = --check ]; then
        clang-format "$f" | cmp -s - "$f" || bad="$bad $f"
    else
        clang-format -i "$f"
    fi
done
if [ -n "$bad" ]; then
    echo "not formatted by .clang-format (run tools/format.sh):$bad" >&2
    exit 1
fi
