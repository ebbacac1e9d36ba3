// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running part of a test in a child process, for example as another user.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace varnel::test {

// The user and group id of "nobody" on Debian.
inline constexpr uid_t nobody = 65534;

// Runs `body` in a child process and gives its exit code (-1 when it died
// or could not be started).
inline int in_child(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace varnel::test
