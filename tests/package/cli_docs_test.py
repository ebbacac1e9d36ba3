# SPDX-License-Identifier: GPL-3.0-or-later
"""The manual and the bash completion of varnel-cli against the program.

What `varnel-cli --help` and `varnel-cli COMMAND --help` print is taken as
the list of commands and options: every command and option must be named by
the manual, every option of a command (of a rule, for preview and rename)
must be offered by the completion in that command's place, with the words of
the options that take one of a few words, and file names elsewhere. Every
option the completion offers must be one varnel-cli accepts there. The
manual must show an example of every command.

Usage: cli_docs_test.py VARNEL_CLI MANUAL(.1 or .1.gz) COMPLETION
"""

import gzip
import os
import re
import subprocess
import sys
import tempfile

OPTION = re.compile(r"(?<![\w$-])(-0|-h|-n|-q|--[a-z0-9][a-z0-9-]*)")
CHOICE = re.compile(r"(--[a-z0-9][a-z0-9-]*)[ =]([A-Za-z0-9-]+(?:\|[A-Za-z0-9-]+)+)")
BASH_COMPLETION = "/usr/share/bash-completion/bash_completion"

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message, file=sys.stderr)


# The automatic journals of the batches run here: never the user's own.
STATE = tempfile.TemporaryDirectory()


def run_cli(cli, args, cwd=None):
    return subprocess.run([cli, *args], capture_output=True, text=True, cwd=cwd, timeout=20,
                          env={**os.environ, "LC_ALL": "C.UTF-8", "XDG_STATE_HOME": STATE.name})


class Groups:
    """The options the help names, grouped by the command or rule they follow."""

    def __init__(self):
        self.commands = []          # in the order of the usage text
        self.by_command = {}        # command -> set of options
        self.by_rule = {}           # rule -> set of options
        self.choices = {}           # (command or "rule:NAME", option) -> words
        self.all_options = set()

    def read(self, text):
        owner = None
        for line in text.splitlines():
            usage = re.match(r"\s+varnel-cli ([a-z][a-z-]*)\b(.*)", line)
            rule = re.match(r"RULE ([a-z]+)\b", line)
            if usage:
                owner = usage.group(1)
                if owner not in self.commands:
                    self.commands.append(owner)
                body = usage.group(2)
            elif rule:
                owner = "rule:" + rule.group(1)
                body = line[rule.end():]
            elif owner and line.strip() and (line.startswith("    ") or owner.startswith("rule:")):
                body = line
            else:
                owner = None
                body = line
            options = set(OPTION.findall(body))
            self.all_options |= options
            if owner is None:
                continue
            if owner.startswith("rule:"):
                self.by_rule.setdefault(owner[5:], set()).update(options)
            else:
                self.by_command.setdefault(owner, set()).update(options)
            for option, words in CHOICE.findall(body):
                # Upper-case words are placeholders (N|end).
                self.choices[(owner, option)] = [w for w in words.split("|") if not w.isupper()]


class Completion:
    """bash with bash-completion and the completion file loaded, asked for
    the words of many command lines at once."""

    DRIVER = r'''
compopt() { :; }  # outside a real completion the builtin refuses to run
source "$1"
source "$2"
while IFS=$'\t' read -r -a raw; do
    COMP_WORDS=("${raw[@]#@}")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _varnel_cli varnel-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    (IFS=$'\t'; printf '%s\n' "${COMPREPLY[*]}")
done
'''

    def __init__(self, completion_file, folder):
        self.completion_file = completion_file
        self.folder = folder

    def ask(self, lines):
        """Each line is the words after "varnel-cli", the last one being
        completed; returns the words offered for each."""
        query = "".join("\t".join("@" + w for w in ["varnel-cli", *line]) + "\n" for line in lines)
        result = subprocess.run(["bash", "-c", self.DRIVER, "driver", BASH_COMPLETION,
                                 self.completion_file],
                                input=query, capture_output=True, text=True, cwd=self.folder,
                                timeout=60)
        if result.returncode != 0 or result.stderr:
            fail("completion failed: " + result.stderr.strip())
        answers = result.stdout.split("\n")[:len(lines)]
        return [set(a.split("\t")) - {""} for a in answers]


def manual_text(path):
    raw = gzip.open(path, "rt").read() if path.endswith(".gz") else open(path).read()
    text = re.sub(r"\\f[BIRP]", "", raw.replace("\\-", "-"))
    return raw, text


def rule_contexts(groups):
    return [(command, rule) for command in ("preview", "rename") if command in groups.commands
            for rule in sorted(groups.by_rule)]


def raw_name(command):
    return command.replace("-", "\\-")


def check_manual(groups, manual):
    raw, text = manual_text(manual)
    named = set(OPTION.findall(text))
    for option in sorted(groups.all_options - named):
        fail(f"the manual does not name the option {option}")
    for command in groups.commands:
        if not re.search(r"^\.B[A-Z]* %s\b" % re.escape(raw_name(command)), raw, re.M):
            fail(f"the manual does not describe the command {command}")
    examples = re.search(r"^\.SH EXAMPLES\n(.*?)(^\.SH |\Z)", text, re.M | re.S)
    if not examples:
        fail("the manual has no EXAMPLES section")
        return
    example_lines = [line for line in examples.group(1).splitlines() if "varnel-cli " in line]
    for command in groups.commands:
        if not any(re.search(r"varnel-cli %s\b" % re.escape(command), line)
                   for line in example_lines):
            fail(f"the manual has no example of {command}")
    if not any(re.search(r"\bfind\b.*-print0.*\|\s*varnel-cli .* -0\b", line)
               for line in example_lines):
        fail("the manual has no example of find -print0 with -0")


def check_completion(groups, completion):
    commands = completion.ask([[""]])[0]
    for command in groups.commands:
        if command not in commands:
            fail(f"the completion does not offer the command {command}")
    offered_anywhere = set(commands)

    # Each command's options, and the options of each rule.
    contexts = [([command], groups.by_command.get(command, set()))
                for command in groups.commands if command not in ("preview", "rename")]
    contexts += [([command, rule], groups.by_command.get(command, set()) | options)
                 for command, rule in rule_contexts(groups)
                 for options in [groups.by_rule[rule]]]
    placed = {}
    answers = completion.ask([[*words, "-"] for words, _ in contexts])
    for (words, expected), offered in zip(contexts, answers):
        placed[tuple(words)] = offered
        offered_anywhere |= offered
        for option in sorted(expected - offered):
            fail(f"completing `varnel-cli {' '.join(words)} -` lacks {option}")
    for option in sorted(groups.all_options - offered_anywhere - {"--help", "-h", "--version"}):
        fail(f"the completion offers the option {option} nowhere")

    # The words of each choice option, in each place it is offered.
    lines, wanted = [], []
    for (owner, option), words in groups.choices.items():
        if owner.startswith("rule:"):
            places = [[command, owner[5:]] for command, rule in rule_contexts(groups)
                      if rule == owner[5:]]
        else:
            places = [[owner, *(["number"] if owner in ("preview", "rename") else [])]]
        for place in places:
            lines.append([*place, option, ""])
            wanted.append(words)
    for line, words, offered in zip(lines, wanted, completion.ask(lines)):
        for word in words:
            if word not in offered:
                fail(f"completing `varnel-cli {' '.join(line[:-1])} ` lacks {word}")

    # File names where a file goes, options aside.
    file_lines = [["rename", "number", "--body", "x", "so"], ["fix-tags", "--", "-da"],
                  ["preview", "case", "--name", "lower", "so"], ["undo", "--journal", "so"]]
    for line, offered in zip(file_lines, completion.ask(file_lines)):
        expected = "-dash.mp3" if line[-1] == "-da" else "song.mp3"
        if expected not in offered:
            fail(f"completing `varnel-cli {' '.join(line)}` does not offer the file {expected}")
    return placed


FILES = ("song.mp3", "-dash.mp3", "empty.journal")


def check_parser_accepts(cli, placed, completion, folder):
    """Every option the completion offers in a place is accepted there: the
    command with it is refused (exit 2) only where it is refused without it
    too, for the same reason."""
    journal_count = 0
    for words, offered in placed.items():
        head = [*words, "missing.mp3"] if words[0] == "tag" else list(words)
        tail = (["--journal", "empty.journal"] if words[0] == "undo"
                else [] if words[0] == "tag" else ["--", "missing.txt"])
        baseline = run_cli(cli, head + tail, cwd=folder)
        options = sorted(offered - {"--help", "-h"})
        values = completion.ask([[*words, option, ""] for option in options])
        for option, value_words in zip(options, values):
            args = head + [option]
            value_words -= set(os.listdir(folder))  # file names, not words
            if option == "--preset":
                args.append("case.preset")
            elif option in ("--journal", "--files-from"):
                journal_count += 1
                args.append(f"new-{journal_count}" if option == "--journal" else "/dev/null")
            elif value_words:
                word = sorted(value_words)[0]
                args.append(word + "x" if word.endswith("=") else word)
            elif takes_value(cli, words, option):
                args.append("1")
            if words[0] == "undo" and option == "--journal":
                args[-1] = "empty.journal"
            if words[0] == "undo" and option in ("--last", "--list", "--tags"):
                # Instead of --journal: any refusal but a usage error will do.
                result = run_cli(cli, args, cwd=folder)
                if "see varnel-cli --help" in result.stderr:
                    fail(f"the completion offers {option} after `undo`, but `varnel-cli "
                         f"{' '.join(args)}` is refused: {result.stderr.strip()}")
                continue
            args += tail
            result = run_cli(cli, args, cwd=folder)
            if result.returncode == 2 and (baseline.returncode != 2 or
                                           result.stderr != baseline.stderr):
                fail(f"the completion offers {option} after `{' '.join(words)}`, but "
                     f"`varnel-cli {' '.join(args)}` is refused: {result.stderr.strip()}")


_help_cache = {}


def takes_value(cli, words, option):
    """True when the command's help shows the option with a placeholder."""
    key = words[0]
    if key not in _help_cache:
        _help_cache[key] = run_cli(cli, [key, "--help"]).stdout
    return re.search(re.escape(option) + r"[ =][A-Z]", _help_cache[key]) is not None


def main():
    cli, manual, completion_file = sys.argv[1:4]
    groups = Groups()
    top = run_cli(cli, ["--help"])
    if top.returncode != 0 or not top.stdout:
        fail("varnel-cli --help failed")
        return 1
    groups.read(top.stdout)
    for command in list(groups.commands):
        answer = run_cli(cli, [command, "--help"])
        if answer.returncode != 0:
            fail(f"varnel-cli {command} --help failed: {answer.stderr.strip()}")
        groups.read(answer.stdout)
    if len(groups.commands) < 2 or not groups.by_rule or not groups.choices:
        fail("the help's usage lines, rules or choices could not be read: "
             f"{groups.commands} {sorted(groups.by_rule)}")
        return 1

    check_manual(groups, manual)
    with tempfile.TemporaryDirectory() as folder:
        for name in FILES:
            open(os.path.join(folder, name), "w").close()
        # A preset of one step, for --preset.
        with open(os.path.join(folder, "case.preset"), "w", encoding="gb18030") as preset:
            preset.write("[Varnel预设]\n版本=1\n规则链=关\n步数=1\n[第1步]\n规则=大小写\n启用=开\n")
        completion = Completion(os.path.abspath(completion_file), folder)
        placed = check_completion(groups, completion)
        check_parser_accepts(os.path.abspath(cli), placed, completion, folder)

    print(f"checked {len(groups.commands)} commands, {len(groups.all_options)} options, "
          f"{len(groups.by_rule)} rules, {len(groups.choices)} choice options")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
