// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/journal_store.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/folder_listing.h"
#include "platform/journal_file.h"
#include "platform/journal_folder.h"

namespace varnel {

namespace {

constexpr std::string_view journal_suffix = ".journal";
constexpr std::string_view undone_suffix = ".journal.undone";

}  // namespace

std::vector<StoredJournal> stored_journals(const std::string& folder) {
    std::vector<StoredJournal> journals;
    const std::optional<std::vector<std::string>> names = list_folder_files(folder);
    if (!names) return journals;
    for (const std::string& name : *names) {
        for (const std::string_view suffix : {journal_suffix, undone_suffix}) {
            if (name.size() <= suffix.size() || !name.ends_with(suffix)) continue;
            journals.push_back({folder + name, name.substr(0, name.size() - suffix.size()),
                                suffix == undone_suffix});
        }
    }
    std::sort(journals.begin(), journals.end(),
              [](const StoredJournal& a, const StoredJournal& b) { return a.stamp > b.stamp; });
    return journals;
}

std::string new_journal_path(const std::string& folder) {
    return folder + utc_stamp_now() + std::string(journal_suffix);
}

void prune_journals(const std::string& folder, std::size_t keep) {
    const std::vector<StoredJournal> journals = stored_journals(folder);
    for (std::size_t i = keep; i < journals.size(); ++i) {
        HeldJournal held = HeldJournal::claim(journals[i].path);
        if (held.state() == HeldJournal::State::held)
            (void)held.remove();
        else if (held.state() == HeldJournal::State::refused)
            (void)remove_file(journals[i].path);  // nothing of ours: it only takes room
    }
}

Status mark_journal_undone(const std::string& path) {
    if (!path.ends_with(journal_suffix)) return {};
    return rename_without_replacing(path, path + ".undone");
}

std::string stamp_time(const std::string& stamp) {
    // YYYYMMDD-HHMMSS-…
    const bool ours = stamp.size() >= 15 && stamp[8] == '-' &&
                      std::all_of(stamp.begin(), stamp.begin() + 8, ::isdigit) &&
                      std::all_of(stamp.begin() + 9, stamp.begin() + 15, ::isdigit);
    if (!ours) return stamp;
    return stamp.substr(0, 4) + '-' + stamp.substr(4, 2) + '-' + stamp.substr(6, 2) + ' ' +
           stamp.substr(9, 2) + ':' + stamp.substr(11, 2) + ':' + stamp.substr(13, 2) + " UTC";
}

}  // namespace varnel
