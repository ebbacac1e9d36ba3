#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills a tag edit at its system calls, and makes them fail, and checks
# that the file is always the old or the new one, or one that the next
# edit finishes, through either hard link; and that a record left by a
# kill never undoes what another program wrote into the file afterwards.
#
#   kill_test.sh REWRITE_TOOL     (the id3_rewrite_tool test program)
#
# Five edits of a 1 MiB file: "grow" gives it a tag 200 KB longer than its
# old one (whole-file rewrite and rename); "linked" does the same to a file
# with a second hard link (the new file is copied over it in place);
# "fit" gives it a tag 200 KB shorter (written in place of the old one);
# "small" makes its title one byte longer (in place); "both" changes the
# ID3v2 and the ID3v1 tag as one edit (in place, two regions).
# For every kind of system call that changes the file system (and the
# opens and closes between them), one of its calls chosen at random (seed
# printed; KILL_TEST_SEED repeats a run; KILL_TEST_SAMPLES=N tries N calls
# of each kind, 0 every call with both actions) is replaced by one of
#   - SIGKILL: the file must be the old or the new one, or another with a
#     record in the private folder or the file's attribute user.varnel.undo; the next edit, made through the other
#     hard link where there is one, gives the new one and leaves nothing;
#     every second kill, another program first writes into the file's
#     audio: the next edit's recovery must leave those bytes exactly as the
#     other program wrote them and drop the record;
#   - the error ENOSPC: the tool reports failure with the old file, or
#     success with the new one (failure with the new one only when the
#     final folder sync failed, or another file with a record left for the
#     next edit); no temporary file is left.
# Every kind of edit runs with copy_file_range and, for the rewrites' writes
# and syncs, with it failing ENOSYS (the buffered copy). Exit code 77
# (skipped) without a working strace.
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
export XDG_STATE_HOME=$work/state
records=$XDG_STATE_HOME/varnel/tag-recovery
seed=${KILL_TEST_SEED:-$(( $(date +%s) % 100000 ))}
samples=${KILL_TEST_SAMPLES:-1}
echo "seed $seed (KILL_TEST_SEED=$seed repeats this run), $samples calls per kind"
RANDOM=$seed

head -c 1060000 /dev/urandom > "$work/audio"

# Makes the old and new files of edit kind $1.
prepare() {
    rm -f "$folder"/* "$folder"/.*varnel-* 2>/dev/null
    cp "$work/audio" "$song"
    local old_title=10
    new_title=200000
    if [ "$1" = fit ]; then old_title=200000; new_title=10; fi
    if [ "$1" = small ]; then new_title=11; fi
    edit=write
    if [ "$1" = both ]; then edit=both; new_title=11; fi
    "$tool" "$edit" "$song" "$old_title" || { echo "cannot write the first tag"; exit 1; }
    cp "$song" "$work/old"
    "$tool" "$edit" "$song" "$new_title" || { echo "cannot write the new tag"; exit 1; }
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

# 1 when the song carries the record of a small in-place edit.
undo_attribute() {
    python3 -c 'import os, sys
try:
    os.getxattr(sys.argv[1], "user.varnel.undo")
    print(1)
except OSError:
    print(0)' "$song"
}
pending() { echo $(( $(find "$records" -type f 2>/dev/null | wc -l) + $(undo_attribute) )); }
temps_left() { echo $(( $(find "$folder" -name '.*varnel-*' | wc -l) + $(pending) )); }
link_differs() { [ "$kind" = linked ] && ! cmp -s "$song" "$folder/link.mp3"; }

# old, new or other
state() {
    if cmp -s "$song" "$work/old"; then echo old
    elif cmp -s "$song" "$work/new"; then echo new
    else echo other; fi
}

# cp writes into the existing file: a hard link stays a link.
reset() {
    rm -rf "$folder"/.*varnel-* "$records" && cp "$work/old" "$song"
    python3 -c 'import os, sys
try:
    os.removexattr(sys.argv[1], "user.varnel.undo")
except OSError:
    pass' "$song"
}

# The name the next edit goes through: the other hard link where there is one.
other_name() { if [ "$kind" = linked ]; then echo "$folder/link.mp3"; else echo "$song"; fi; }

# Another program writes into the audio, 3000 bytes before the end (past
# neither tag).
foreign_write() {
    python3 -c 'import os, sys
with open(sys.argv[1], "r+b") as f:
    f.seek(-3000, os.SEEK_END)
    f.write(b"written by another program")' "$song"
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
    strace -f -qq -o "$work/trace" -e trace="$calls" "$@" "$tool" "$edit" "$song" "$new_title"
}

# How often an untroubled rewrite makes each of the calls $1: lines "COUNT NAME".
count_calls() {
    reset
    rewrite_traced "$1" >/dev/null 2>&1
    [ "$(state)" = new ] || fail "count $kind $mode" "an untroubled rewrite did not give the new file"
    awk '{ name = $2; sub(/\(.*/, "", name); print name }' "$work/trace" | sort | uniq -c
}

corrupt=0
reverted=0
kill_at() { # syscall n foreign
    local label="kill $1#$2 $kind $mode"
    reset
    (rewrite_traced "$1" -e inject="$1:signal=SIGKILL:when=$2") >/dev/null 2>&1
    local code=$? seen
    seen=$(state)
    [ "$code" = 137 ] || fail "$label" "not killed (exit code $code)"
    if [ "$seen" = other ] && [ "$(pending)" = 0 ]; then
        fail "$label" "the file is neither the old nor the new one, and nothing finishes it"
        corrupt=$((corrupt + 1))
    fi
    link_differs && fail "$label" "the hard link shows another file"
    if [ "$3" = foreign ]; then
        foreign_write
        cp "$song" "$work/foreign"
        "$tool" recover "$(other_name)" >/dev/null || fail "$label" "recovery after a foreign write failed"
        if ! cmp -s "$song" "$work/foreign"; then
            fail "$label" "recovery changed what another program wrote"
            reverted=$((reverted + 1))
        fi
        [ "$(pending)" = 0 ] || fail "$label" "a record survived the recovery"
        return
    fi
    # The next edit finishes the killed one, or clears its leftovers.
    "$tool" "$edit" "$(other_name)" "$new_title" || fail "$label" "the rewrite after the kill failed"
    if [ "$(state)" != new ]; then
        fail "$label" "the rewrite after the kill did not give the new file"
        corrupt=$((corrupt + 1))
    fi
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
        "$tool" "$edit" "$(other_name)" "$new_title" || fail "$label" "the rewrite after the error failed"
        [ "$(state)" = new ] || fail "$label" "the rewrite after the error did not give the new file"
        [ "$(temps_left)" = 0 ] || fail "$label" "a side file survived the next rewrite"
    fi
}

changing=openat,write,pwrite64,copy_file_range,ftruncate,fchown,fchmod,fsetxattr,fremovexattr,fsync,fdatasync,rename,renameat,renameat2,link,linkat,unlink,unlinkat,close
failing=openat,write,pwrite64,copy_file_range,ftruncate,fchown,fchmod,flistxattr,fgetxattr,fsetxattr,fremovexattr,fsync,fdatasync,rename,renameat,renameat2,linkat,unlinkat

# The call numbers to try out of $1: $samples of them at random, or all
# when $samples is 0.
positions() {
    local count=$1
    if [ "$samples" = 0 ]; then seq 1 "$count"; return; fi
    for ((i = 0; i < samples; i++)); do echo $((RANDOM % count + 1)); done | sort -n | uniq
}

# The actions to try at a call of kind $1: kill or error at random, both
# when every call is tried; kill only for calls that cannot fail usefully.
actions() {
    if ! [[ ,$failing, == *,$1,* ]]; then echo kill_at
    elif [ "$samples" = 0 ]; then echo kill_at fail_at
    elif [ $((RANDOM % 2)) = 0 ]; then echo kill_at
    else echo fail_at; fi
}

kills=0
for kind in grow linked fit small both; do
prepare "$kind"
modes="kernel buffered"
case $kind in fit | small | both) modes=kernel ;; esac  # written in place: no copy
for mode in $modes; do
    while read -r count name; do
        # The buffered copy differs from the kernel's in its writes alone.
        [ "$mode" = buffered ] && ! [[ $name =~ ^(write|pwrite64|ftruncate|fsync|fdatasync)$ ]] &&
            continue
        for n in $(positions "$count"); do
            for action in $(actions "$name"); do
                echo "$kind $mode $action $name#$n of $count"
                if [ "$action" = kill_at ]; then
                    kills=$((kills + 1))
                    foreign=plain
                    [ $((kills % 2)) = 0 ] && foreign=foreign
                    kill_at "$name" "$n" "$foreign"
                else
                    fail_at "$name" "$n"
                fi
                runs=$((runs + 1))
            done
        done
    done < <(count_calls "$changing,$failing")
done
done

echo "$runs interrupted edits ($kills kills, half of them followed by a foreign write): $corrupt corrupt, $reverted reverted, $failures failures"
[ "$runs" -gt 20 ] || { echo "too few system calls seen"; exit 1; }
[ "$failures" = 0 ]
