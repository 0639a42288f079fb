#!/usr/bin/env bash
# Installs what is missing, builds, prepares the start directory and starts brookfell in it.
# The start directory is $TALLYMOOR_HOME, or ~/tallymoor when that is not set.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
"$source_dir/scripts/install-deps.sh"
"$source_dir/scripts/build.sh"
start_dir="${TALLYMOOR_HOME:-$HOME/tallymoor}"
mkdir -p "$start_dir"
# Shipped files are copied only when missing: a user may have edited a template.
if [ -d "$source_dir/build/share" ]; then
  for f in "$source_dir"/build/share/*; do
    [ -e "$f" ] || continue
    [ -e "$start_dir/$(basename "$f")" ] || cp "$f" "$start_dir/"
  done
fi
cd "$start_dir"
exec "$source_dir/build/bin/brookfell"
