// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turning the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP:
// kill, Ctrl+C, the session ending) into something an event loop can wait
// for, so that the program ends the way closing its window does.

namespace varnel {

// Installs handlers for the three signals (once) and returns a descriptor
// that becomes readable when one of them has arrived; -1 when that failed.
// Each arrival makes one byte readable.
[[nodiscard]] int quit_signal_fd();

// Reads every byte that arrivals have made readable on that descriptor.
void drain_quit_signals();

}  // namespace varnel
