// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace varnel {
namespace {

int write_end = -1;

void on_quit_signal(int signal_number) {
    const int saved = errno;
    const char byte = static_cast<char>(signal_number);
    (void)!::write(write_end, &byte, 1);
    errno = saved;
}

int install() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    write_end = ends[1];
    struct sigaction action {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP})
        if (::sigaction(signal_number, &action, nullptr) != 0) return -1;
    return ends[0];
}

}  // namespace

int quit_signal_fd() {
    static const int read_end = install();
    return read_end;
}

void drain_quit_signals() {
    const int fd = quit_signal_fd();
    char bytes[16];
    while (fd >= 0 && ::read(fd, bytes, sizeof bytes) > 0) {
    }
}

}  // namespace varnel
