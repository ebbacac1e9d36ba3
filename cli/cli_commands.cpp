#include "cli/cli_commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "filelist/item_names.h"
#include "rename/preview.h"
#include "rename/renamer.h"
#include "rename/undo_journal.h"

namespace varnel::cli {

namespace {

std::string current_folder() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// The list of the command's files: each path's folder is its item folder
// (made absolute) and its last component the old name; paths of one folder
// that follow each other are added together.
FileList list_of_files(const std::vector<std::string>& paths, const Codec& codec) {
    FileList list;
    const std::string cwd = current_folder();
    std::string folder;
    std::vector<std::string> names;
    for (const std::string& path : paths) {
        std::string absolute = path.starts_with('/') ? path : cwd + "/" + path;
        const std::size_t slash = absolute.rfind('/');
        std::string this_folder = absolute.substr(0, slash + 1);
        if (!names.empty() && this_folder != folder) {
            list.append_items(item_folder_from_fs(folder, codec),
                              item_names_from_fs(std::move(names), codec));
            names.clear();
        }
        folder = std::move(this_folder);
        names.push_back(absolute.substr(slash + 1));
    }
    if (!names.empty())
        list.append_items(item_folder_from_fs(folder, codec),
                          item_names_from_fs(std::move(names), codec));
    return list;
}

// A code-page text for the terminal; "\r\n" becomes a newline.
std::string for_terminal(std::string_view text, const Codec& codec) {
    std::string utf8 = codec.to_utf8_lossy(text);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        out += utf8[i];
    }
    return out;
}

bool has_empty_name(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (path.empty() || path.back() == '/') return true;
    return false;
}

// Creates the journal file now, so that a journal that cannot be written
// stops the command before anything is renamed.
bool journal_writable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The tag rule's status of the row, as a further column where one was written.
void print_tag_status(const FileList& list, int row, const Codec& codec, std::ostream& out) {
    const std::string_view status = list.get_cell(row, Column::tag_status);
    if (!status.empty()) out << '\t' << for_terminal(status, codec);
}

void print_statuses(const FileList& list, const std::vector<std::string>& before,
                    const std::vector<std::string>& after, const Codec& codec, std::ostream& out) {
    for (int row = 0; row < list.item_count(); ++row) {
        const auto r = static_cast<std::size_t>(row);
        out << for_terminal(list.get_cell(row, Column::rename_status), codec) << '\t'
            << for_terminal(before[r], codec) << '\t' << for_terminal(after[r], codec);
        print_tag_status(list, row, codec, out);
        out << '\n';
    }
}

}  // namespace

int run_preview(const Command& command, const Codec& codec, std::ostream& out) {
    FileList list = list_of_files(command.files, codec);
    dispatch_rule(list, command.pages, list.item_count(), codec);
    for (int row = 0; row < list.item_count(); ++row) {
        const auto r = static_cast<std::size_t>(row);
        out << for_terminal(list.old_names()[r], codec) << '\t'
            << for_terminal(list.new_names()[r], codec);
        print_tag_status(list, row, codec, out);
        out << '\n';
    }
    return 0;
}

int run_rename(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    if (has_empty_name(command.files)) {
        err << "varnel-cli: a FILE must name a file, not a folder\n";
        return 2;
    }
    if (!command.journal.empty() && !journal_writable(command.journal)) {
        err << "varnel-cli: cannot write the journal " << command.journal << '\n';
        return 2;
    }
    FileList list = list_of_files(command.files, codec);
    const std::vector<std::string> before(list.old_names().begin(), list.old_names().end());
    UndoLog log;
    const BatchOutcome outcome = rename_items(list, command.pages, log, codec, nullptr);
    const std::vector<std::string> after(list.new_names().begin(), list.new_names().end());
    print_statuses(list, before, after, codec, out);
    out << for_terminal(outcome.summary, codec) << '\n';
    if (!command.journal.empty() && !write_undo_journal(command.journal, list, log)) {
        err << "varnel-cli: cannot write the journal " << command.journal << '\n';
        return 1;
    }
    return outcome.all_succeeded() ? 0 : 1;
}

int run_undo(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    std::optional<UndoJournal> journal = read_undo_journal(command.journal);
    if (!journal) {
        err << "varnel-cli: " << command.journal << " is not a readable journal\n";
        return 2;
    }
    FileList& list = journal->list;
    const std::vector<std::string> before(list.old_names().begin(), list.old_names().end());
    std::vector<std::string> restored;
    for (int row = 0; row < list.item_count(); ++row) {
        const auto r = static_cast<std::size_t>(row);
        restored.push_back(r < journal->log.entries.size() ? journal->log.entries[r].name : "");
    }
    const BatchOutcome outcome = undo_rename(list, journal->log, nullptr);
    print_statuses(list, before, restored, codec, out);
    out << for_terminal(outcome.summary, codec) << '\n';
    return outcome.all_succeeded() ? 0 : 1;
}

}  // namespace varnel::cli
