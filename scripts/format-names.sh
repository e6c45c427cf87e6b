#!/usr/bin/env bash
# Prints the names of ocrsift's document formats, one a line, in the order of the usage text,
# from the one list of formats (ocrsift/formats/format_rows.def):
#   scripts/format-names.sh            every format
#   scripts/format-names.sh stream     the formats that write the whole run to standard output
#   scripts/format-names.sh page-file  the formats that write one document per page image
set -euo pipefail
rows=$(dirname "$0")/../ocrsift/formats/format_rows.def
case ${1:-all} in
  all) kinds='STREAM|PAGE_FILE' ;;
  stream) kinds='STREAM' ;;
  page-file) kinds='PAGE_FILE' ;;
  *) sed -n '2,6p' "$0" >&2; exit 2 ;;
esac
[ -r "$rows" ] || { echo "format-names: cannot read $rows" >&2; exit 1; }
sed -En "s/^($kinds)_FORMAT\(([a-z0-9_]+),.*/\2/p" "$rows"
