#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Varnel never becomes the default opener of folders or MP3 files. With the
# packages unpacked into ROOT (its applications' mimeinfo.cache made, as the
# installation's trigger does) and ranked before another program that opens
# folders and MP3 files, xdg-mime must still name that other program. The
# same question with a copy of the desktop entry that claims those types
# must name Varnel, or the check itself sees nothing.
#
# Usage: mime_default_test.sh ROOT
set -euo pipefail
export LC_ALL=C

root=$(realpath "$1")
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d /tmp/varnel-mime.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/other/applications" "$work/claiming/applications"
cat > "$work/other/applications/other-opener.desktop" << 'EOF'
[Desktop Entry]
Type=Application
Name=Other Opener
Exec=other-opener %U
MimeType=inode/directory;audio/mpeg;
EOF
update-desktop-database "$work/other/applications"
sed 's/^Exec=.*/&\nMimeType=inode\/directory;audio\/mpeg;/' \
    "$root/usr/share/applications/app.varnel.Varnel.desktop" \
    > "$work/claiming/applications/app.varnel.Varnel.desktop"
update-desktop-database "$work/claiming/applications"

# xdg-mime as on a desktop without its own rules (LXDE, i3, ...): the data
# folders in order, no user choice made.
default_for() {  # MIME DATA_DIRS
    env -i HOME="$work/home" PATH=/usr/bin:/bin XDG_DATA_HOME="$work/home/.local/share" \
        XDG_CONFIG_HOME="$work/home/.config" XDG_CONFIG_DIRS="$work/no-config" \
        XDG_DATA_DIRS="$2" xdg-mime query default "$1"
}

for mime in inode/directory audio/mpeg; do
    answer=$(default_for "$mime" "$root/usr/share:$work/other")
    [[ $answer == other-opener.desktop ]] ||
        fail "xdg-mime query default $mime names '$answer' with the packages installed"
    answer=$(default_for "$mime" "$work/claiming:$work/other")
    [[ $answer == app.varnel.Varnel.desktop ]] ||
        fail "a desktop entry claiming $mime is not seen by the check (xdg-mime: '$answer')"
done
if grep -rqs varnel "$root/usr/share/applications/mimeinfo.cache"; then
    fail "the file-type cache names Varnel: $(cat "$root/usr/share/applications/mimeinfo.cache")"
fi
# The actions live outside the folders whose entries open file types.
if find "$root" -path '*/applications/*' -name '*.desktop' ! -name app.varnel.Varnel.desktop | grep .; then
    fail "more desktop entries among the applications"
fi

[[ $failures -eq 0 ]] || exit 1
echo "ok: xdg-mime names another program for folders and MP3 files"
