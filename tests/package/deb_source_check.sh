#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# dpkg-buildpackage -us -uc -b in a fresh clone of the committed HEAD: the
# source package must build both binary packages with nothing but the build
# dependencies debian/control declares (checked with dpkg-checkbuilddeps,
# never installed here). Prints the time the build took, lists the packages
# and runs lintian on them; they are kept in OUT_DIR.
#
# Usage: deb_source_check.sh OUT_DIR
set -euo pipefail
export LC_ALL=C.UTF-8

out=$(realpath -m "$1")
source_dir=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
work=$(mktemp -d /tmp/varnel-deb-source.XXXXXX)
trap 'rm -rf "$work"' EXIT

if [[ -n $(git -C "$source_dir" status --porcelain --untracked-files=no) ]]; then
    echo "note: uncommitted changes are not part of this check (it builds HEAD)"
fi
head=$(git -C "$source_dir" rev-parse HEAD)
git clone --quiet --no-hardlinks --no-checkout "$source_dir" "$work/varnel"
cd "$work/varnel"
git checkout --quiet --detach "$head"
echo "building $(git log -1 --format='%h %s' | cut -c1-72)"
if ! dpkg-checkbuilddeps; then
    echo "Install the build dependencies above, for example with" >&2
    echo "  sudo apt-get build-dep ./   (in the source folder)" >&2
    exit 1
fi
start=$(date +%s)
# A build that took the shared compiler cache would not show a clean build.
env -u CCACHE_DIR -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER \
    DEB_BUILD_OPTIONS="parallel=${JOBS:-2}" dpkg-buildpackage -us -uc -b > "$work/build.log" 2>&1 || {
    tail -n 40 "$work/build.log" >&2
    echo "dpkg-buildpackage failed" >&2
    exit 1
}
seconds=$(($(date +%s) - start))

mkdir -p "$out"
rm -f "$out"/*.deb
cp "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$out"/
for package in varnel varnel-cli; do
    ls "$out/${package}_"*.deb > /dev/null 2>&1 || {
        echo "dpkg-buildpackage made no package $package" >&2
        exit 1
    }
done
echo "dpkg-buildpackage -us -uc -b: ${seconds} s"
ls -l "$out"/*.deb
# The same files as the packages of `make package`, where those were built.
for package in varnel varnel-cli; do
    cpack_deb=$(ls "$source_dir/build/release/${package}_"*.deb 2> /dev/null | head -1)
    [[ -n $cpack_deb ]] || continue
    if diff <(dpkg-deb -c "$cpack_deb" | awk '$6 != "./" {print $6}' | sort) \
        <(dpkg-deb -c "$out/${package}_"*.deb | awk '$6 != "./" {print $6}' | sort) > "$work/diff"; then
        echo "ok: $package holds the same files as $(basename "$cpack_deb")"
    else
        echo "$package differs from $(basename "$cpack_deb") (< make package, > dpkg-buildpackage):" >&2
        cat "$work/diff" >&2
        exit 1
    fi
done
lintian --display-info --tag-display-limit 0 "$out"/*.deb | sed 's/^/lintian: /' || true
