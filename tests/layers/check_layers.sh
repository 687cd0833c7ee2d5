#!/usr/bin/env bash
# The layers, as the compiler saw them: no file of the program includes a Qt header or a
# host-internal header itself, and no program translation unit compiles more Qt headers, through
# the host headers it includes, than its allowance (a missing line allows none).
#
# usage: check_layers.sh SOURCE_DIR BUILD_DIR ALLOWANCE_FILE [--counts]
# --counts prints the Qt headers each program translation unit compiled and checks nothing.
set -euo pipefail

source_dir=$1
build_dir=$2
allowance_file=$3
mode=${4:-check}
program_dirs='app|browse|menu|toolbar|util|about|publisher'
# Qt's headers live in folders named after their module (QtCore/, QtWidgets/, ...).
qt_header='/Qt[A-Z][A-Za-z]*/[^/]+$'
# Headers only the host and its tests may include.
host_internal='src/host/.*_internal\.h$'

failures=0

# Every program translation unit, with the Qt headers it compiled (ninja's record of the
# dependencies the compiler reported for the last build of each object).
deps=$(ninja -C "$build_dir" -t deps 2>/dev/null |
    awk -v dirs="^src/($program_dirs)/CMakeFiles/" -v qt="$qt_header" -v internal="$host_internal" '
        /^[^ ].*: #deps/ { unit = ($1 ~ dirs) ? substr($1, 1, length($1) - 1) : ""; if (unit != "") count[unit] = 0; next }
        unit != "" && ($1 ~ qt) { count[unit]++ }
        unit != "" && ($1 ~ internal) { print "internal " unit " " $1 }
        END { for (u in count) print "count " u " " count[u] }' | sort)

if [[ $mode == --counts ]]; then
    grep '^count ' <<<"$deps" | cut -d' ' -f2-
    exit 0
fi

units=$(grep -c '^count ' <<<"$deps" || true)
if ((units == 0)); then
    echo "no program translation unit has its dependencies recorded in $build_dir (built?)"
    exit 1
fi

# The include lines the program writes itself.
while IFS= read -r line; do
    echo "includes what only the host may: $line"
    failures=$((failures + 1))
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>"]*|host/[^>"]*_internal\.h)[>"]' \
    $(for d in ${program_dirs//|/ }; do echo "$source_dir/src/$d"; done) || true)

# Each program folder includes from its own folder and from the folders below it only.
declare -A may_use=(
    [util]="util host"
    [publisher]="publisher"
    [menu]="menu host"
    [toolbar]="toolbar host"
    [about]="about host util publisher"
    [browse]="browse host publisher karvex"
    [app]="app host menu toolbar about browse"
)
for folder in "${!may_use[@]}"; do
    allowed=" ${may_use[$folder]} "
    while IFS=: read -r file number folder_used; do
        if [[ $allowed != *" $folder_used "* ]]; then
            echo "$file:$number: src/$folder may not include from $folder_used/"
            failures=$((failures + 1))
        fi
    done < <(grep -rnoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$source_dir/src/$folder" |
        sed -E 's/#[[:space:]]*include[[:space:]]*"//; s|/$||' || true)
done

# The records a program reaches by address and the toolkit operations called by name are the
# toolbar utility's alone.
while IFS= read -r line; do
    echo "$line: only src/toolbar may include host/records/"
    failures=$((failures + 1))
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"host/records/' \
    $(for d in ${program_dirs//|/ }; do [[ $d == toolbar ]] || echo "$source_dir/src/$d"; done) || true)

# What the includes brought in.
while read -r _ unit header; do
    echo "$unit compiles the host-internal header $header"
    failures=$((failures + 1))
done < <(grep '^internal ' <<<"$deps" || true)

while read -r _ unit count; do
    allowed=$(awk -v u="$unit" '$1 == u { print $2 }' "$allowance_file")
    allowed=${allowed:-0}
    if ((count > allowed)); then
        echo "$unit compiles $count Qt headers; it may compile $allowed"
        failures=$((failures + 1))
    fi
done < <(grep '^count ' <<<"$deps")

echo "$units program translation units checked, $failures faults"
((failures == 0))
