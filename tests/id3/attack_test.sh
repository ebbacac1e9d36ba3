#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two users share music folders: another user plants files and attributes
# that look like the leftovers of an interrupted tag edit, and a link from
# an .mp3 name to the victim's text file. Whatever the victim then runs —
# showing the tags, the tag rule's preview, fix-tags (with and without
# --dry-run) or an edit — the victim's files come out exactly as they would
# without the planted files: unchanged by the reading commands, and as the
# same command makes them in a private folder for the writing ones.
#
#   attack_test.sh VARNEL_CLI
#
# Needs root (to make the two users, run through setpriv); exit code 77
# (skipped) with a message where that is not possible.
set -u

cli=${1:?usage: attack_test.sh VARNEL_CLI}
skip() { echo "SKIPPED: $1"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root to make the two users"
command -v setpriv >/dev/null && command -v useradd >/dev/null || skip "no setpriv or useradd"
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

group=varnel-share
victim=varnel-victim
attacker=varnel-attacker
getent group "$group" >/dev/null || groupadd --system "$group" || skip "cannot make the group $group"
for user in "$victim" "$attacker"; do
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin -G "$group" "$user" ||
        skip "cannot make the user $user"
done
share_gid=$(getent group "$group" | cut -d: -f3)

work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-attack-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
install -m 755 "$cli" "$work/varnel-cli"
home=$work/victim-home
mkdir -m 700 "$home" && chown "$victim:" "$home"

as() { # user command...
    local user=$1
    shift
    setpriv --reuid="$user" --regid="$user" --groups="$share_gid" -- \
        env -i HOME="$home" XDG_STATE_HOME="$home/state" PATH=/usr/bin:/bin LANG=C.UTF-8 \
        ASAN_OPTIONS="$ASAN_OPTIONS" "$@"
}
run_cli() { as "$victim" "$work/varnel-cli" "$@" >/dev/null 2>&1; }

failures=0
checks=0
fail() {
    echo "FAIL ($1): $2"
    failures=$((failures + 1))
}

# The victim's song: a tag that fits a short edit in place, fake audio, an
# ID3v1 tag; and the victim's notes.
python3 - "$work/song" <<'PY' || exit 1
import sys
frames = b""
for fid, text in ((b"TIT2", b"Victim title"), (b"TPE1", b"\xb2\xe2\xca\xd4")):
    frames += fid + (len(text) + 1).to_bytes(4, "big") + b"\0\0\0" + text
padding = 600
size = len(frames) + padding
syncsafe = bytes(((size >> s) & 0x7F) for s in (21, 14, 7, 0))
audio = bytes((i * 7 + 3) & 0xFF for i in range(200000))
v1 = b"TAG" + b"Victim v1".ljust(30, b"\0") + b"\0" * 94 + b"\x11"
open(sys.argv[1], "wb").write(b"ID3\3\0\0" + syncsafe + frames + b"\0" * padding + audio + v1)
PY
printf 'the victim notes\n' > "$work/notes"

# Folders: one sticky and world-writable, one writable by the shared group.
setup_folder() { # kind
    rm -rf "$work/music" "$home/state" "$home/notes.txt"
    mkdir "$work/music"
    case $1 in
        sticky) chmod 1777 "$work/music" ;;
        group) chgrp "$group" "$work/music" && chmod 2775 "$work/music" ;;
    esac
    as "$victim" cp "$work/song" "$work/music/song.mp3"
    as "$victim" cp "$work/notes" "$home/notes.txt"
}

inode() { stat -c %i "$work/music/song.mp3"; }

# What the attacker plants beside the victim's song (as the attacker).
plant() { # attack
    local music=$work/music ino
    ino=$(inode)
    case $1 in
        redo) as "$attacker" python3 -c 'import sys; open(sys.argv[1], "wb").write(b"A" * 512)' \
            "$music/.song.mp3.varnel-redo-$ino" ;;
        undo) as "$attacker" python3 -c 'import sys
old = b"B" * 4800
open(sys.argv[1], "wb").write(b"VNLUNDO1" + len(old).to_bytes(8, "big") + b"\0" * 8 + old)' \
            "$music/.song.mp3.varnel-undo-$ino" ;;
        new) as "$attacker" python3 -c 'import sys; open(sys.argv[1], "wb").write(b"C" * 4096)' \
            "$music/.song.mp3.varnel-new-$ino" ;;
        fifo) as "$attacker" mkfifo "$music/.song.mp3.varnel-new-$ino" ;;
        symlink)
            as "$attacker" ln -s "$home/notes.txt" "$music/.song.mp3.varnel-redo-$ino"
            as "$attacker" ln -s "$home/notes.txt" "$music/.song.mp3.varnel-undo-$ino" ;;
        attribute)
            # An archive made by the attacker, extracted by the victim.
            as "$attacker" mkdir "$work/music/pack"
            as "$attacker" cp "$work/song" "$work/music/pack/song.mp3"
            as "$attacker" python3 -c 'import os, sys
record = b"VNLUNDA1" + (0).to_bytes(8, "big") + b"\0" * 8 + b"D" * 1000
os.setxattr(sys.argv[1], "user.varnel.undo", record)' "$work/music/pack/song.mp3" || return 1
            as "$attacker" tar --xattrs -C "$work/music/pack" -cf "$work/music/pack.tar" song.mp3
            as "$victim" rm -f "$work/music/song.mp3"
            as "$victim" tar --xattrs --xattrs-include='user.*' -C "$work/music" -xf "$work/music/pack.tar"
            python3 -c 'import os, sys; os.getxattr(sys.argv[1], "user.varnel.undo")' \
                "$work/music/song.mp3" 2>/dev/null || return 1 ;;
    esac
}

# The victim's command $2.. on the song; the file after it must equal the
# same command's result on a copy in a private folder.
compare_with_private() { # label command...
    local label=$1
    shift
    rm -rf "$home/private" && as "$victim" mkdir -m 700 "$home/private"
    as "$victim" cp "$work/song" "$home/private/song.mp3"
    run_cli "$@" "$home/private/song.mp3"
    local expected_status=$?
    run_cli "$@" "$work/music/song.mp3"
    local status=$?
    checks=$((checks + 1))
    [ "$status" = "$expected_status" ] || fail "$label" "exit status $status, $expected_status in a private folder"
    cmp -s "$work/music/song.mp3" "$home/private/song.mp3" ||
        fail "$label" "the song differs from the same command's result in a private folder"
    cmp -s "$home/notes.txt" "$work/notes" || fail "$label" "the victim's notes changed"
}

commands=(
    "show:tag"
    "preview:preview tags --template #2"
    "dry-run:fix-tags --dry-run"
    "fix-tags:fix-tags"
    "edit:tag --set-v2 title=Edited"
    "both:tag --set-v2 title=Edited --set-v1 title=Edited"
    "remove:tag --remove-v2"
)

for folder in sticky group; do
    for attack in redo undo new fifo symlink attribute; do
        for entry in "${commands[@]}"; do
            setup_folder "$folder"
            if ! plant "$attack"; then
                echo "SKIPPED: $attack in the $folder folder: the attribute cannot be carried here"
                continue
            fi
            read -r -a command <<< "${entry#*:}"
            compare_with_private "$folder $attack ${entry%%:*}" "${command[@]}"
        done
    done
    # A link from an .mp3 name to the victim's notes: reading it does not
    # change them, and nothing is written through it.
    for entry in "${commands[@]}"; do
        setup_folder "$folder"
        as "$attacker" ln -s "$home/notes.txt" "$work/music/cover.mp3"
        read -r -a command <<< "${entry#*:}"
        run_cli "${command[@]}" "$work/music/cover.mp3"
        checks=$((checks + 1))
        cmp -s "$home/notes.txt" "$work/notes" ||
            fail "$folder cover.mp3 ${entry%%:*}" "the notes behind the link changed"
    done
done

echo "$checks checks, $failures failures"
[ "$failures" = 0 ]
