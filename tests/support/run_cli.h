// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs varnel-cli with arguments and collects what it prints.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

extern char** environ;

namespace varnel::test {

// The environment of a varnel-cli run: the locale in LANG (LC_ALL and
// LC_MESSAGES unset, so LANG decides), and the state folder of its
// automatic journals.
struct CliEnv {
    std::string lang = "zh_CN.UTF-8";
    // XDG_STATE_HOME; empty: a folder of this test process, so no run
    // touches the user's own journals.
    std::string state_home = {};
};

// The folder runs share when CliEnv::state_home is empty: made on first
// use, removed when the test process ends.
struct TestStateHome {
    std::string path;
    TestStateHome() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") +
                              "/varnel-cli-state-XXXXXX";
        path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/nonexistent");
    }
    ~TestStateHome() {
        std::error_code ignored;
        if (path != "/nonexistent") std::filesystem::remove_all(path, ignored);
    }
    TestStateHome(const TestStateHome&) = delete;
    TestStateHome& operator=(const TestStateHome&) = delete;
};

inline const std::string& test_state_home() {
    static const TestStateHome home;
    return home.path;
}

// This process's environment with the settings of `env`.
inline std::vector<std::string> cli_environment(const CliEnv& env) {
    std::vector<std::string> vars;
    for (char** var = environ; *var != nullptr; ++var) {
        const std::string_view entry(*var);
        if (entry.starts_with("LC_ALL=") || entry.starts_with("LC_MESSAGES=") ||
            entry.starts_with("LANG=") || entry.starts_with("XDG_STATE_HOME="))
            continue;
        vars.emplace_back(entry);
    }
    vars.push_back("LANG=" + env.lang);
    vars.push_back("XDG_STATE_HOME=" +
                   (env.state_home.empty() ? test_state_home() : env.state_home));
    return vars;
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string drain(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return text;
}

// Starts varnel-cli with `args` in `env`, its descriptors set up by
// `actions`; its process id, or -1 when it could not start.
inline pid_t spawn_cli(const std::vector<std::string>& args, const CliEnv& env,
                       const posix_spawn_file_actions_t& actions) {
    std::vector<char*> argv{const_cast<char*>(VARNEL_CLI_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> vars = cli_environment(env);
    std::vector<char*> envp;
    for (const std::string& var : vars) envp.push_back(const_cast<char*>(var.c_str()));
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, VARNEL_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
    return spawned == 0 ? pid : -1;
}

// `input` is what the program reads on standard input (at most a pipe's
// buffer, 64 KiB).
inline CliRun run_cli(const std::vector<std::string>& args, const std::string& cwd = "/",
                      const std::string& input = {}, const CliEnv& env = {}) {
    int out_pipe[2], err_pipe[2], in_pipe[2];
    if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0 || pipe(in_pipe) != 0) return {};
    if (!input.empty() && ::write(in_pipe[1], input.data(), input.size()) < 0) return {};
    ::close(in_pipe[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
    posix_spawn_file_actions_adddup2(&actions, in_pipe[0], 0);
    posix_spawn_file_actions_addclose(&actions, in_pipe[0]);
    posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
    posix_spawn_file_actions_addclose(&actions, err_pipe[0]);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    const pid_t pid = spawn_cli(args, env, actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    ::close(in_pipe[0]);
    CliRun run;
    run.out = drain(out_pipe[0]);
    run.err = drain(err_pipe[0]);
    if (pid < 0) return run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace varnel::test
