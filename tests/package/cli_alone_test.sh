#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The package varnel-cli on its own: unpacked alone into a fresh root, it
# names no Qt package among its dependencies (nor their dependencies, as apt
# resolves them), its program needs no Qt library, and it runs where every
# Qt library of the system is hidden. That hiding is shown to work by the
# desktop program, which must fail to start in the same place.
#
# Usage: cli_alone_test.sh VARNEL_CLI.deb [VARNEL.deb]
set -euo pipefail
export LC_ALL=C

cli_deb=$(realpath "$1")
gui_deb=${2:+$(realpath "$2")}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

work=$(mktemp -d /tmp/varnel-cli-alone.XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg -x "$cli_deb" "$root"
cli=$root/usr/bin/varnel-cli

# ---- what the package asks for --------------------------------------------
depends=$(dpkg-deb -f "$cli_deb" Depends)
[[ -n $depends ]] || fail "varnel-cli declares no dependencies"
names=$(tr ',|' '\n\n' <<< "$depends" | sed 's/(.*)//; s/ //g' | grep -v '^$')
if grep -qiE 'qt|libgl|libx11|libxcb' <<< "$names"; then
    fail "varnel-cli depends on a toolkit package: $depends"
fi
# Everything apt would install with it.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $names 2> /dev/null | grep -v '^ ' | sort -u || true)
[[ -n $closure ]] || fail "apt-cache resolved none of: $names"
if grep -iE '^(libqt|qt6|qt5)' <<< "$closure"; then
    fail "installing varnel-cli would pull in Qt"
else
    pass "varnel-cli's $(wc -l <<< "$closure") dependencies, recursively, hold no Qt package"
fi

# ---- what its program loads ------------------------------------------------
needed=$(objdump -p "$cli" | awk '/NEEDED/ {print $2}')
if grep -qi qt <<< "$needed"; then fail "varnel-cli needs $(grep -i qt <<< "$needed")"; fi
if ldd "$cli" | grep -qi 'libqt'; then fail "ldd names Qt: $(ldd "$cli" | grep -i libqt)"; fi

# ---- run with every Qt library hidden --------------------------------------
# A mount namespace of its own puts an empty file over each Qt library (as
# root, or as a user in a user namespace of its own); the system is unchanged.
qt_libs=$(ldconfig -p | awk '/libQt6/ {print $NF}' | sort -u)
[[ -n $qt_libs ]] || echo "note: no Qt library installed here; nothing to hide"
unshare_cmd=(unshare --mount)
[[ $(id -u) -eq 0 ]] || unshare_cmd=(unshare --mount --map-root-user)
hidden() {
    "${unshare_cmd[@]}" bash -c '
        for lib in '"$(tr '\n' ' ' <<< "$qt_libs")"'; do mount --bind /dev/null "$lib" || exit 99; done
        exec "$@"' hidden "$@"
}
if ! "${unshare_cmd[@]}" true 2> /dev/null; then
    echo "SKIPPED: no mount namespace can be made here; the runs without Qt are not checked" >&2
else
    mkdir "$work/files"
    touch "$work/files/b.txt" "$work/files/a.txt"
    version=$(dpkg-deb -f "$cli_deb" Version)
    out=$(hidden "$cli" --version 2>&1) || fail "varnel-cli --version without Qt: $out"
    [[ $out == *"${version%%-*}"* ]] || fail "varnel-cli --version printed: $out"
    hidden "$cli" rename number --body track --digits 2 --journal "$work/journal" \
        -- "$work/files/a.txt" "$work/files/b.txt" > "$work/out" 2>&1 ||
        fail "varnel-cli rename without Qt: $(cat "$work/out")"
    hidden "$cli" undo --journal "$work/journal" > "$work/out" 2>&1 ||
        fail "varnel-cli undo without Qt: $(cat "$work/out")"
    [[ $(ls "$work/files" | tr '\n' ' ') == "a.txt b.txt " ]] ||
        fail "rename and undo without Qt left: $(ls "$work/files")"
    if [[ -n $gui_deb && -n $qt_libs ]]; then
        dpkg -x "$gui_deb" "$work/gui"
        if hidden "$work/gui/usr/bin/varnel" --version > "$work/out" 2>&1; then
            fail "the desktop program started with Qt hidden: the hiding does not work"
        fi
    fi
    [[ $failures -ne 0 ]] || pass "varnel-cli renames and undoes with every Qt library hidden"
fi

[[ $failures -eq 0 ]] || exit 1
