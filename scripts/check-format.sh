#!/usr/bin/env bash
# Fails, naming the files, when a C++ source of the repository is not formatted by .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$formatter" ]; then
  echo "check-format: clang-format not found (Debian: clang-format-14)" >&2
  exit 1
fi
unformatted=()
while IFS= read -r -d '' file; do
  if ! "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(git ls-files -z '*.cpp' '*.h')
if [ "${#unformatted[@]}" -ne 0 ]; then
  echo "check-format: not formatted with .clang-format (run: $formatter -i FILE):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
