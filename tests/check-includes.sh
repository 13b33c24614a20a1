#!/usr/bin/env bash
# Refuses an include against the order of the libraries: each folder may include only its
# own headers and those of the folders below it.
#   core/database < core (core/, core/controls/, core/platform/) < reports < catalogue < rental < app
# A page's header (catalogue/U...Page.h, rental/U...Page.h) is included only by its own unit and
# by app/: the pages reach each other through the main window's desk.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

grep -rsn --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
    core reports catalogue rental app |
awk '
    # The level of a path inside the tree; -1 for a path outside the layers.
    function level(path) {
        if (path ~ /^core\/database\//) return 0
        if (path ~ /^core\//) return 1
        if (path ~ /^reports\//) return 2
        if (path ~ /^catalogue\//) return 3
        if (path ~ /^rental\//) return 4
        if (path ~ /^app\//) return 5
        return -1
    }
    {
        split($0, part, ":")
        target = $0
        sub(/^[^"]*"/, "", target)
        sub(/".*/, "", target)
        to = level(target)
        unit = part[1]
        sub(/\.[^.\/]*$/, "", unit)
        page = target
        sub(/\.h$/, "", page)
        if (to > level(part[1])) {
            print part[1] ":" part[2] ": includes " target ", a folder above its own" > "/dev/stderr"
            refused = 1
        } else if (target ~ /^(catalogue|rental)\/U[A-Za-z]+Page\.h$/ && level(part[1]) < 5 && unit != page) {
            print part[1] ":" part[2] ": includes " target ", the header of another page" > "/dev/stderr"
            refused = 1
        }
    }
    END { exit refused }'
