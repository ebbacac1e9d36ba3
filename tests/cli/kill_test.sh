#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills `varnel-cli rename --journal` at random moments of a 5,000-file
# batch, twice a round for 12 rounds, and checks after each round that
# `undo` brings every file back under its old name: the same inode with the
# same content, and nothing left under a new name. Then 3 more rounds of
# batches that keep their automatic journal, each undone by `undo --last`.
# Every run kills at new moments; KILL_TEST_ROUNDS=N runs N rounds of the
# first kind (and a quarter as many of the second) for a longer search.
#
#   kill_test.sh VARNEL_CLI
set -u

cli=${1:?usage: kill_test.sh VARNEL_CLI}
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
work=$(mktemp -d "${TMPDIR:-/tmp}/varnel-rename-kill-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
folder=$work/files
journal=$work/journal
mkdir "$folder"
# The automatic journals go here, never to the user's own state folder.
export XDG_STATE_HOME=$work/state

python3 - "$folder" <<'PY' || exit 1
import os, sys
folder = sys.argv[1]
with open(os.path.join(folder, "..", "list"), "w") as names:
    for i in range(5000):
        name = "f%04d.txt" % i
        with open(os.path.join(folder, name), "w") as f:
            f.write(name)
        names.write(os.path.join(folder, name) + "\n")
with open(os.path.join(folder, "..", "inodes"), "w") as out:
    for name in sorted(os.listdir(folder)):
        out.write("%s %d\n" % (name, os.lstat(os.path.join(folder, name)).st_ino))
PY

# Every file under its old name, the same inode, its own content.
check() {
    python3 - "$folder" "$work/inodes" <<'PY'
import os, sys
folder, expected = sys.argv[1], open(sys.argv[2]).read()
now = "".join("%s %d\n" % (n, os.lstat(os.path.join(folder, n)).st_ino)
              for n in sorted(os.listdir(folder)))
if now != expected:
    sys.exit("names or inodes differ")
for name in os.listdir(folder):
    if open(os.path.join(folder, name)).read() != name:
        sys.exit("content of %s differs" % name)
PY
}

# Runs the batch in this shell's process (exec), so that its pid is the
# program's own.
rename_batch() {
    exec "$cli" rename number --prefix g --digits 4 --journal "$journal" \
        --files-from "$work/list" > /dev/null 2>&1
}

# The length of a whole batch, to spread the kills over it.
start=$(date +%s%N)
(rename_batch)
whole_ms=$(( ( $(date +%s%N) - start ) / 1000000 ))
"$cli" undo --journal "$journal" > /dev/null || { echo "undo of a whole batch failed"; exit 1; }
check || exit 1
echo "a whole batch takes ${whole_ms} ms"

failures=0
# Runs the batch function $1 in the background and kills it at a random
# moment of a whole batch's time; sets delay_ms and renamed.
kill_during() {
    delay_ms=$(( RANDOM % (whole_ms + 1) ))
    "$1" &
    local pid=$!
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    renamed=$(find "$folder" -name 'g*' | wc -l)
}

rounds=${KILL_TEST_ROUNDS:-12}
for round in $(seq 1 "$rounds"); do
    kill_during rename_batch
    if [ -e "$journal" ]; then
        "$cli" undo --journal "$journal" > /dev/null
        status=$?
        [ $status -le 1 ] || { echo "round $round: undo refused the journal"; failures=$((failures+1)); }
    fi
    if ! check; then
        echo "round $round (kill after ${delay_ms} ms, $renamed renamed): not restored"
        failures=$((failures + 1))
    else
        echo "round $round: killed after ${delay_ms} ms with $renamed renamed; all restored"
    fi
done
# The same with the automatic journal and undo --last.
automatic_batch() {
    exec "$cli" rename number --prefix g --digits 4 --files-from "$work/list" > /dev/null 2>&1
}
for round in $(seq 1 $(( (rounds + 3) / 4 ))); do
    kill_during automatic_batch
    "$cli" undo --last > /dev/null 2>&1
    status=$?
    # Killed before its journal was made, the batch renamed nothing and
    # there is nothing left to undo.
    if [ $status -gt 1 ] && [ "$renamed" -ne 0 ]; then
        echo "auto round $round: undo --last refused with $renamed renamed"
        failures=$((failures + 1))
    elif ! check; then
        echo "auto round $round (kill after ${delay_ms} ms, $renamed renamed): not restored"
        failures=$((failures + 1))
    else
        echo "auto round $round: killed after ${delay_ms} ms with $renamed renamed; all restored"
    fi
done
[ $failures -eq 0 ] || { echo "$failures rounds failed"; exit 1; }
