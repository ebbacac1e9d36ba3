// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_mark.h"

#include "filelist/adding.h"
#include "platform/dir_handle.h"
#include "platform/file_id.h"
#include "platform/journal_file.h"
#include "platform/small_file.h"

namespace varnel {
namespace {

std::string mark_path(const std::string& journal_path) {
    return journal_path + ".asked";
}

Result<FileId> journal_id(const std::string& journal_path) {
    std::string folder = folder_of_path(journal_path);
    if (folder.empty()) folder = "./";
    const Result<DirHandle> dir = DirHandle::open_path(folder);
    if (!dir) return dir.error();
    return file_id_at(*dir, name_of_path(journal_path));
}

std::string mark_text(const FileId& id) {
    return std::to_string(id.device) + ' ' + std::to_string(id.inode) + ' ' +
           std::to_string(id.mtime_sec) + '.' + std::to_string(id.mtime_nsec) + ' ' +
           std::to_string(id.size) + '\n';
}

}  // namespace

std::optional<std::int64_t> journal_time(const std::string& journal_path) {
    const Result<FileId> id = journal_id(journal_path);
    if (!id) return std::nullopt;
    return id->mtime_sec;
}

bool journal_was_asked(const std::string& journal_path) {
    const Result<FileId> id = journal_id(journal_path);
    if (!id) return false;
    const Result<std::string> mark = read_file_start(mark_path(journal_path), 256);
    return mark && *mark == mark_text(*id);
}

WriteResult mark_journal_asked(const std::string& journal_path) {
    const Result<FileId> id = journal_id(journal_path);
    if (!id) return WriteResult{id.error().number};
    return replace_file_atomically(mark_path(journal_path), mark_text(*id));
}

bool remove_journal(const std::string& journal_path) {
    // Best effort: a mark whose journal is gone marks nothing.
    (void)remove_file(mark_path(journal_path));
    return remove_file(journal_path);
}

}  // namespace varnel
