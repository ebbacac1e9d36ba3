#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tests the last ctest run in BUILD_DIR skipped, each with the reason it
# gave: ctest runs each test program in a few processes and so sees only
# whole programs, while GoogleTest says inside which tests it skipped.
#
#   skipped_tests.sh BUILD_DIR
set -u
log=${1:?usage: skipped_tests.sh BUILD_DIR}/Testing/Temporary/LastTest.log
[ -r "$log" ] || exit 0
awk '
    / Skipped$/ { getline reason; next }
    /^\[  SKIPPED \] [^ ]+ \([0-9]+ ms\)$/ {
        print "skipped: " $4 (reason != "" ? " (" reason ")" : ""); reason = ""
    }
' "$log" | sort -u
