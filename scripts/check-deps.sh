#!/usr/bin/env bash
# Checks that every CMake package configuration the configure step of BUILD_DIR
# read (Qt's modules, QuaZip, Google Benchmark, ...) comes from one of the given
# Debian packages or from one of their hard dependencies. A machine that has
# more installed than these packages configures where a fresh one would not;
# this finds the gap on such a machine too.
#   scripts/check-deps.sh BUILD_DIR PACKAGE...
set -euo pipefail
build=$1
shift
cache=$build/CMakeCache.txt
[ -f "$cache" ] || { echo "check-deps: $cache not found: configure first" >&2; exit 2; }

# The closure of the packages under Depends and Pre-Depends, which apt-cache
# follows through virtual packages to their providers. It changes only with the
# list and with the package lists apt knows, so it is kept in the build folder.
key=$( (printf '%s\n' "$@" | sort -u; stat -c '%n %Y' /var/lib/apt/lists/*_Packages* 2>/dev/null || true) | md5sum)
closure=$build/deps-closure-${key%% *}.txt
if [ ! -s "$closure" ]; then
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances "$@" |
        grep -v '^[ <]' | sed 's/:.*//' | sort -u >"$closure.new"
    mv "$closure.new" "$closure"
fi

# The file find_package read for each package: NameConfig.cmake or
# name-config.cmake in the folder the cache records. The folder alone would not
# do: Qt's folders are shared by several packages.
declare -A package_of
configs=()
while IFS='=' read -r entry dir; do
    name=${entry%_DIR:PATH}
    for file in "${name}Config.cmake" "${name,,}-config.cmake"; do
        if [ -f "$dir/$file" ]; then
            # dpkg knows /usr/lib/... where CMake may have found /lib/... (merged /usr).
            configs+=("$(realpath "$dir")/$file")
            package_of[${configs[-1]}]=$name
            break
        fi
    done
done < <(grep -E '^[A-Za-z0-9_.+-]+_DIR:PATH=/' "$cache")

# One dpkg-query for all of them: each call reads the whole package database.
declare -A owners_of
while IFS= read -r line; do
    owners_of[${line#*: }]=${line%%: /*}
done < <(dpkg-query -S "${configs[@]}" 2>/dev/null | grep -v '^diversion' || true)

status=0
for config in "${configs[@]}"; do
    name=${package_of[$config]}
    owners=${owners_of[$config]:-}
    if [ -z "$owners" ]; then
        echo "check-deps: $name ($config) belongs to no Debian package" >&2
        status=1
        continue
    fi
    found=""
    for owner in ${owners//,/ }; do
        grep -qxF "${owner%%:*}" "$closure" && found=$owner && break
    done
    if [ -z "$found" ]; then
        echo "check-deps: $name ($config) comes from Debian package $(sed 's/:[a-z0-9]*//g' <<<"$owners")," \
            "which scripts/dev.sh does not install: add it to its list" >&2
        status=1
    fi
done
exit $status
