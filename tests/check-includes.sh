#!/usr/bin/env bash
# Refuses an include against the order of the libraries: each folder may include only its
# own headers and those of the folders below it.
#   core/database < core (core/, core/controls/, core/platform/) < reports < catalogue < rental < app
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# The level of a path inside the tree; nothing for a path outside the layers.
level() {
    case $1 in
    core/database/*) echo 0 ;;
    core/*) echo 1 ;;
    reports/*) echo 2 ;;
    catalogue/*) echo 3 ;;
    rental/*) echo 4 ;;
    app/*) echo 5 ;;
    esac
}

status=0
while IFS=: read -r file line text; do
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"$text")
    [ -n "$target" ] || continue
    from=$(level "$file")
    to=$(level "$target")
    [ -n "$to" ] || continue
    if [ "$to" -gt "$from" ]; then
        echo "$file:$line: includes $target, a folder above its own" >&2
        status=1
    fi
done < <(grep -rsn --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include' core reports catalogue rental app)
exit $status
