#!/usr/bin/env bash
# Fails when a tracked C++ source is not formatted as .clang-format says; lists the files that are not.
set -u
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "SKIP: clang-format is not installed"; exit 77; }
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "SKIP: not a git checkout"; exit 77; }
bad=()
while IFS= read -r -d '' file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
    echo "FAIL: not clang-format clean (run clang-format -i on them):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "PASS: every tracked .cpp and .h is clang-format clean"
