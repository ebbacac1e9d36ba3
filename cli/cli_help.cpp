// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include "cli/cli_help_texts.h"
#include "platform/language.h"

namespace varnel::cli {

namespace {

const char* const usage_text =
    R"TEXT(  varnel-cli preview RULE [OPTIONS] [-0] [--files-from LIST] [--] FILE...
  varnel-cli rename  RULE [OPTIONS] [-0] [--files-from LIST] [--journal JFILE]
                     [--no-journal] [--order in-order|smart] [-n] [-q]
                     [--] FILE...
  varnel-cli fix-names [-0] [--files-from LIST] [--journal JFILE] [--no-journal]
                       [-q] [--] FILE...
  varnel-cli undo --journal JFILE | --last | --list | --tags | N  [-0]
  varnel-cli tag FILE [...]
  varnel-cli fix-tags [--add-v2-from-v1] [--dry-run] [--no-journal] [-0]
                      [--files-from LIST] [--] FILE...
  varnel-cli tags-from-names --template T [-n] [-q] [-0] [--files-from LIST]
                             [--] FILE...
  varnel-cli --help | --version | COMMAND --help
)TEXT";

const char* const rule_en =
    R"TEXT(
Each FILE is a path; its folder is the item's folder and its last component
the old name. --files-from LIST adds the paths of file LIST, one a line
("-" reads standard input), after those on the command line. preview
prints "old<TAB>new" per item and needs no existing files. rename renames
each file within its folder, never replacing another file, and prints
"status<TAB>old<TAB>new" per item as soon as it is done, then the summary;
a failure's status names the system's reason, as in
"更名失败 (Permission denied)". --journal JFILE records the batch in
JFILE before each rename, so that undo can reverse it even after a crash;
JFILE must be new, empty, or an earlier journal. Without --journal the
batch is recorded in an automatic journal in $XDG_STATE_HOME/varnel/journals/
(by default ~/.local/state/varnel/journals/; the last 20 batches are kept),
which undo --last finds; --no-journal records nothing. -n (--dry-run)
prints what preview prints and renames nothing; -q (--quiet) prints no
record per item, only the failures and the summary. --order smart renames in
an order in which chains (a→b while b→c) and swaps or cycles (a↔b) succeed:
by atomic swaps of names where the file system has them (ext4, tmpfs,
btrfs, xfs, f2fs), elsewhere through a temporary name ".varnel-swap-…",
which a failing step's status names; the default, in-order, renames row
by row. A running batch locks its journal: a second undo or batch with it
is refused with "另一个Varnel正在执行这批更名".

Names are printed with control characters, TAB, newline and backslash
escaped C-style (\t, \n, \\, \033). -0 (--null): LIST holds paths
ended by NUL bytes, and every printed field ends in a NUL byte instead
(names unescaped); the summary then goes to standard error.

Texts are handled in the program's code page (GB18030): positions and digit
counts count its bytes, so a Chinese character counts two. A number N is a
whole number (an optional "-" and ASCII digits) of at most as many
characters as the window's field holds: 8 for --start, 6 for --step, 3 for
the digits and the positions; any other value is refused (exit 2).

RULE number (numbering; defaults in brackets):
  --scope name|ext|all  [name]     --start N [0]   --step N [1]
  --prefix T --body T --digits N [1] --suffix T
  --ext-prefix T --ext T --ext-digits N [empty] --ext-suffix T
RULE replace (find and replace; an empty --with deletes):
  --find T --with T --case-sensitive --scope name|ext|all [name]
  --regex  T of --find is a regular expression (PCRE2) matched on the
           Unicode text; --with may use $1, ${name}, $$ (a group the
           pattern lacks, or a lone $, is refused). A new name longer than
           255 bytes on disk fails as 名称过长; matching may take 2 s per
           batch, the names left after that fail as 正则表达式超出限制
RULE insert:
  --text T --at N|end [1] --ext-text T --ext-at N|end [1]
  --same   the extension text follows the main text
RULE case:
  --name upper|lower|first-upper|first-lower|title [upper]
  --ext (same words) [upper]
           title: every word's first letter capital, its other letters small
           (ASCII and the Latin letters beyond it; Chinese is left alone)
RULE tags (names MP3 files from their ID3 tags; a further field shows the
tag status 无标签 / 非MP3文件 where one was written):
  --template T   placeholders #1 artist, #2 title, #3 album, #4 track,
                 #5 year, #6 genre (at most 50 bytes)
  --prefer v1|v2 [v2]   which tag to read first
  --all-formats  also names FLAC, Ogg, Opus, M4A/MP4, APE, WavPack, Musepack,
                 WMA/ASF, AIFF, WAV and DSF files from their artist, title,
                 album, track, year and genre (their extension in lower case
                 follows); 非MP3文件 is then only for files of none of these
RULE chain (several rules in one batch: each step sees the names the step
before made; the files are renamed once, to their last names, in one batch
that one undo takes back):
  --step 'RULE OPTIONS'  a step: one of the rules above with its options,
                 given as one word (inside it ' and " quote blanks, \ the
                 next character); repeatable, run in the order given
  --preset PFILE  the rule or the chain of a preset saved by Varnel, run
                 before the --step steps; "preview --preset PFILE FILE..."
                 needs no word chain. A bad step or preset is refused (exit 2)
                 with its reason, and nothing is renamed
)TEXT";

const char* const fix_names_en =
    R"TEXT(
fix-names renames each FILE whose name is not UTF-8 (a legacy GBK name) to
the UTF-8 spelling of the same text, never replacing another file, and
prints "status<TAB>old<TAB>new" per file like rename (-0/--null,
--files-from, --journal, --no-journal and -q/--quiet as there).
A name already in UTF-8 is left alone; one that is not GBK either fails.
)TEXT";

const char* const undo_en =
    R"TEXT(
undo renames the files of the batch recorded in JFILE back (--last: the
newest batch of the history not undone yet, a rename or a tag batch; N: the
batch numbered N by --list, 1 the newest), last rename first, and prints
"status<TAB>current<TAB>restored" per file and the summary (a tag batch:
"status<TAB>file" per file, every tag put back byte for byte). A file already back under its old name counts as restored; a
file is recognised by its inode where inode numbers last, and on FAT and
exFAT by its size and a fingerprint of its content, so a file put in its
place is never renamed. A journal that is not a regular file of this user
or that is malformed is refused (exit 2) with the reason; one that others
may write (as on a FAT or exFAT stick) is trusted only when every file it
names lies in a folder on the journal's drive that everyone may change. A
journal whose batch still runs (another Varnel holds its lock) is left
alone with "另一个Varnel正在执行这批更名" (exit 2). undo --list prints
the history (the last 20 rename and tag batches of this program and of the
window), newest first, one a line: "N<TAB>time<TAB>kind<TAB>state<TAB>files
<TAB>journal", the kind being rename or tags, the state finished,
interrupted, undone, busy or refused. undo --tags takes back the newest tag
batch not undone yet.
)TEXT";

const char* const tag_en =
    R"TEXT(
  varnel-cli tag FILE [--set-v1 FIELD=VALUE]... [--set-v2 FIELD=VALUE]...
                      [--remove-v1] [--remove-v2] [--v2-encoding gbk|unicode]
                      [--drop-unconvertible]
prints both tags as v1.FIELD=VALUE and v2.FIELD=VALUE lines (v1=none or
v2=none for a missing tag), after writing what was asked, as the tag
window's 更新 does. FIELD is one of title artist album track year genre
comment composer original_artist copyright url encoder (ID3v1 carries the
first seven; its genre is a number 0..255 or a genre name, its track an
integer). Every field and value is checked before anything is written.
The ID3v2 tag keeps every frame and text not set; set texts are written in
the code page (gbk, the default) or in UTF-16 (unicode). A tag holding
frames that cannot be kept (compressed, encrypted, or without an ID3v2.3
form) is not written unless --drop-unconvertible is given.
)TEXT";

const char* const fix_tags_en =
    R"TEXT(
fix-tags rewrites the ID3v2 texts of each MP3 FILE that were stored as
code-page (GBK) bytes under encoding 0 - text frames, TXXX, COMM, USLT and
the WXXX description - as UTF-16 with a byte-order mark, so that every
other player shows them right. Every other frame and the audio are kept
(in place where the tag fits, else through the safe whole-file rewrite).
--add-v2-from-v1 gives a file that has only an ID3v1 tag an ID3v2 tag (in
UTF-16) made from its fields. --dry-run writes nothing. Prints per changed
text "status<TAB>file<TAB>frame<TAB>before<TAB>after<TAB>change", and
"status<TAB>file" with empty fields for a file that needs nothing or
failed (the reason in brackets), then the summary; -0 and --files-from as
for rename. A tag holding frames that cannot be kept is left unchanged.
Each file's old ID3v2 tag is recorded in the tag undo journal before it is
written, so undo --tags puts it back; when that journal cannot be made
nothing is written (exit 2), and --no-journal converts without one.
)TEXT";

const char* const tags_from_names_en =
    R"TEXT(
tags-from-names sets tags from the names of audio files (MP3 and the formats
of --all-formats): the template T of --template (placeholders as for the
tags rule) is matched against each main name, the text between placeholders
separating the fields, so "#1 - #2" gives "歌手 - 歌名.mp3" artist 歌手 and
title 歌名. A name that does not match changes nothing and is printed as
"不匹配 (reason)<TAB>file". -n (--dry-run) prints
"file<TAB>field<TAB>old<TAB>new" per field and writes nothing; otherwise each
file is written in one crash-safe step after its old tag regions were
recorded in a journal of the history (undo --list), "status<TAB>file" is
printed per file, then the summary (-q: none). undo --tags puts every tag
of that batch back byte for byte; a file changed since is refused with its
reason. -0 and --files-from as for rename.
)TEXT";

const char* const status_en =
    R"TEXT(
Exit status: 0 when every item succeeded, 1 when any failed, 2 for a usage
error or a journal refused (nothing renamed).
)TEXT";

// One part of the help in both languages.
struct HelpPart {
    const char* chinese;
    const char* english;
};

const HelpPart rule_help{help_zh::rule, rule_en};
const HelpPart fix_names_help{help_zh::fix_names, fix_names_en};
const HelpPart undo_help{help_zh::undo, undo_en};
const HelpPart tag_help{help_zh::tag, tag_en};
const HelpPart fix_tags_help{help_zh::fix_tags, fix_tags_en};
const HelpPart tags_from_names_help{help_zh::tags_from_names, tags_from_names_en};
const HelpPart status_help{help_zh::status, status_en};

// A part of the help in the text language.
std::string part(const HelpPart& help) {
    return say(help.chinese, help.english);
}

}  // namespace

std::string help_text(const std::string& topic) {
    std::string text = say("varnel-cli：在命令行上批量更名。\n\n用法：\n",
                           "varnel-cli: batch renaming from the command line.\n\nUsage:\n");
    text += code_page(usage_text);
    if (topic == "preview" || topic == "rename") {
        text += part(rule_help);
    } else if (topic == "fix-names") {
        text += part(fix_names_help);
    } else if (topic == "undo") {
        text += part(undo_help);
    } else if (topic == "tag") {
        text += part(tag_help);
    } else if (topic == "fix-tags") {
        text += part(fix_tags_help);
    } else if (topic == "tags-from-names") {
        text += part(tags_from_names_help);
    } else {
        for (const HelpPart* help : {&rule_help, &fix_names_help, &undo_help, &tag_help,
                                     &fix_tags_help, &tags_from_names_help})
            text += part(*help);
    }
    text += part(status_help);
    return text;
}

}  // namespace varnel::cli
