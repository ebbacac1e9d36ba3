#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills a tag edit at each of its system calls, and makes each of them
# fail, and checks that the file is always the old or the new one, or one
# that the next edit finishes.
#
#   kill_test.sh REWRITE_TOOL     (the id3_rewrite_tool test program)
#
# Three edits of a 4 MiB file: "grow" gives it a tag 200 KB longer than its
# old one (whole-file rewrite and rename); "linked" does the same to a file
# with a second hard link (the new file is copied over it in place);
# "fit" gives it a tag 200 KB shorter (written in place of the old one,
# its record in a side file); "small" makes its title one byte longer (in
# place, its record in the file's extended attribute user.varnel.undo).
# For every system call that changes the file system (and the opens and
# closes between them), call number N of that kind is replaced, in turn, by
#   - SIGKILL: the file must be the old or the new one, or, for an in-place
#     edit, anything with a .varnel-redo / .varnel-undo side file beside it;
#     the next edit gives the new one and leaves no side file;
#   - the error ENOSPC: the tool reports failure with the old file, or
#     success with the new one (failure with the new one only when the
#     final folder sync failed, or another file with a side file left for
#     the next edit); no other side file is left.
# A hard link must always show what the file shows.
# Everything runs twice: with copy_file_range, and with it failing ENOSYS
# (the buffered copy). Exit code 77 (skipped) without a working strace.
set -u

tool=${1:?usage: kill_test.sh REWRITE_TOOL}
command -v strace >/dev/null 2>&1 || { echo "strace is not installed"; exit 77; }
strace -f -qq -o /dev/null true 2>/dev/null || { echo "strace cannot trace here"; exit 77; }
# LeakSanitizer cannot work under ptrace.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-kill-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
folder=$work/music
song=$folder/song.mp3
mkdir "$folder"

head -c 4194304 /dev/urandom > "$work/audio"

# Makes the old and new files of edit kind $1.
prepare() {
    rm -f "$folder"/* "$folder"/.*varnel-* 2>/dev/null
    cp "$work/audio" "$song"
    local old_title=10
    new_title=200000
    if [ "$1" = fit ]; then old_title=200000; new_title=10; fi
    if [ "$1" = small ]; then new_title=11; fi
    "$tool" write "$song" "$old_title" || { echo "cannot write the first tag"; exit 1; }
    cp "$song" "$work/old"
    "$tool" write "$song" "$new_title" || { echo "cannot write the new tag"; exit 1; }
    cp "$song" "$work/new"
    cmp -s "$work/old" "$work/new" && { echo "old and new are equal"; exit 1; }
    if [ "$1" = linked ]; then ln "$song" "$folder/link.mp3"; fi
}

failures=0
runs=0
fail() {
    echo "FAIL ($1): $2"
    failures=$((failures + 1))
}

# 1 when the song carries the undo attribute of an unfinished in-place edit.
undo_attribute() {
    python3 -c 'import os, sys
try:
    os.getxattr(sys.argv[1], "user.varnel.undo")
    print(1)
except OSError:
    print(0)' "$song"
}
temps_left() { echo $(( $(find "$folder" -name '.*varnel-*' | wc -l) + $(undo_attribute) )); }
pending() {
    echo $(( $(find "$folder" -name '.*varnel-redo-*' -o -name '.*varnel-undo-*' | wc -l) +
             $(undo_attribute) ))
}
link_differs() { [ "$kind" = linked ] && ! cmp -s "$song" "$folder/link.mp3"; }

# old, new or other
state() {
    if cmp -s "$song" "$work/old"; then echo old
    elif cmp -s "$song" "$work/new"; then echo new
    else echo other; fi
}

# cp writes into the existing file: a hard link stays a link.
reset() {
    rm -f "$folder"/.*varnel-* && cp "$work/old" "$song"
    python3 -c 'import os, sys
try:
    os.removexattr(sys.argv[1], "user.varnel.undo")
except OSError:
    pass' "$song"
}

# Runs the rewrite under strace tracing the calls $1 (comma-separated),
# with copy_file_range failing in mode "buffered", and more strace options.
# strace injects only into calls it traces.
rewrite_traced() {
    local calls=$1
    shift
    if [ "$mode" = buffered ]; then
        set -- -e inject=copy_file_range:error=ENOSYS "$@"
        calls=$calls,copy_file_range
    fi
    strace -f -qq -o "$work/trace" -e trace="$calls" "$@" "$tool" write "$song" "$new_title"
}

# How often an untroubled rewrite makes each of the calls $1: lines "COUNT NAME".
count_calls() {
    reset
    rewrite_traced "$1" >/dev/null 2>&1
    [ "$(state)" = new ] || fail "count $kind $mode" "an untroubled rewrite did not give the new file"
    awk '{ name = $2; sub(/\(.*/, "", name); print name }' "$work/trace" | sort | uniq -c
}

kill_at() { # syscall n
    local label="kill $1#$2 $kind $mode"
    reset
    (rewrite_traced "$1" -e inject="$1:signal=SIGKILL:when=$2") >/dev/null 2>&1
    local code=$? seen
    seen=$(state)
    [ "$code" = 137 ] || fail "$label" "not killed (exit code $code)"
    if [ "$seen" = other ] && [ "$(pending)" = 0 ]; then
        fail "$label" "the file is neither the old nor the new one, and nothing finishes it"
    fi
    link_differs && fail "$label" "the hard link shows another file"
    # The next edit finishes the killed one, or clears its side file.
    "$tool" write "$song" "$new_title" || fail "$label" "the rewrite after the kill failed"
    [ "$(state)" = new ] || fail "$label" "the rewrite after the kill did not give the new file"
    [ "$(temps_left)" = 0 ] || fail "$label" "a side file survived the next rewrite"
    link_differs && fail "$label" "the hard link shows another file after the next rewrite"
}

fail_at() { # syscall n
    local label="error $1#$2 $kind $mode"
    reset
    rewrite_traced "$1" -e inject="$1:error=ENOSPC:when=$2" >/dev/null 2>&1
    local code=$? seen
    seen=$(state)
    grep -q "^[0-9]* *$1(.*ENOSPC.*(INJECTED)" "$work/trace" || fail "$label" "no error was injected"
    [ "$(temps_left)" = "$(pending)" ] || fail "$label" "a temporary file was left"
    link_differs && fail "$label" "the hard link shows another file"
    case "$code/$seen" in
        0/new | 1/old | 2/old) ;;
        1/new) [ "$1" = fsync ] || [ "$(pending)" != 0 ] ||
            fail "$label" "failure reported, yet the file is the new one" ;;
        1/other) [ "$(pending)" != 0 ] || fail "$label" "failure left another file" ;;
        127/old | 134/old) ;;  # the program could not even start
        *) fail "$label" "exit code $code with the $seen file" ;;
    esac
    if [ "$(pending)" != 0 ]; then
        "$tool" write "$song" "$new_title" || fail "$label" "the rewrite after the error failed"
        [ "$(state)" = new ] || fail "$label" "the rewrite after the error did not give the new file"
        [ "$(temps_left)" = 0 ] || fail "$label" "a side file survived the next rewrite"
    fi
}

changing=openat,write,pwrite64,copy_file_range,ftruncate,fchown,fchmod,fsetxattr,fremovexattr,fsync,fdatasync,rename,renameat,renameat2,link,linkat,unlink,unlinkat,close
failing=openat,write,pwrite64,copy_file_range,ftruncate,fchown,fchmod,flistxattr,fgetxattr,fsetxattr,fremovexattr,fsync,fdatasync,rename,renameat,renameat2,linkat,unlinkat

for kind in grow linked fit small; do
prepare "$kind"
for mode in kernel buffered; do
    for action in kill_at fail_at; do
        calls=$changing
        [ "$action" = fail_at ] && calls=$failing
        while read -r count name; do
            [ "$mode" = buffered ] && [ "$name" = copy_file_range ] && continue
            echo "$kind $mode $action $name: $count calls"
            for ((n = 1; n <= count; n++)); do
                "$action" "$name" "$n"
                runs=$((runs + 1))
            done
        done < <(count_calls "$calls")
    done
done
done

echo "$runs interrupted rewrites, $failures failures"
[ "$runs" -gt 20 ] || { echo "too few system calls seen"; exit 1; }
[ "$failures" = 0 ]
