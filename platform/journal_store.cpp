// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/journal_store.h"

#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "platform/folder_listing.h"
#include "platform/journal_file.h"
#include "platform/journal_folder.h"

namespace varnel {

namespace {

constexpr std::string_view journal_suffix = ".journal";
constexpr std::string_view tags_suffix = ".tags.journal";
constexpr std::string_view undone_suffix = ".undone";

bool is_stamp(std::string_view stamp) {
    const auto digits = [&](std::size_t from, std::size_t to) {
        return std::all_of(stamp.begin() + static_cast<std::ptrdiff_t>(from),
                           stamp.begin() + static_cast<std::ptrdiff_t>(to),
                           [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    };
    // YYYYMMDD-HHMMSS-…
    return stamp.size() >= 15 && stamp[8] == '-' && digits(0, 8) && digits(9, 15);
}

// The journal named `name`, or nullopt for any other file.
std::optional<StoredJournal> journal_named(const std::string& folder, const std::string& name) {
    std::string_view stem = name;
    StoredJournal journal{folder + name, {}, false, JournalKind::rename};
    if (stem.ends_with(undone_suffix)) {
        journal.undone = true;
        stem.remove_suffix(undone_suffix.size());
    }
    if (stem.ends_with(tags_suffix)) {
        journal.kind = JournalKind::tags;
        stem.remove_suffix(tags_suffix.size());
    } else if (stem.ends_with(journal_suffix)) {
        stem.remove_suffix(journal_suffix.size());
    } else {
        return std::nullopt;
    }
    if (stem.empty()) return std::nullopt;
    journal.stamp = std::string(stem);
    return journal;
}

std::string_view last_component(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<StoredJournal> stored_journals(const std::string& folder) {
    std::vector<StoredJournal> journals;
    const std::optional<std::vector<std::string>> names = list_folder_files(folder);
    if (!names) return journals;
    for (const std::string& name : *names)
        if (std::optional<StoredJournal> journal = journal_named(folder, name))
            journals.push_back(std::move(*journal));
    std::sort(journals.begin(), journals.end(),
              [](const StoredJournal& a, const StoredJournal& b) { return a.stamp > b.stamp; });
    return journals;
}

std::string new_journal_path(const std::string& folder, JournalKind kind) {
    return folder + utc_stamp_now() +
           std::string(kind == JournalKind::tags ? tags_suffix : journal_suffix);
}

void prune_journals(const std::string& folder, std::size_t keep) {
    const std::vector<StoredJournal> journals = stored_journals(folder);
    for (std::size_t i = keep; i < journals.size(); ++i) {
        HeldJournal held = HeldJournal::claim(journals[i].path);
        bool gone = false;
        if (held.state() == HeldJournal::State::held)
            gone = held.remove();
        else if (held.state() == HeldJournal::State::refused)
            gone = remove_file(journals[i].path);  // nothing of ours: it only takes room
        if (gone) (void)remove_file(journals[i].path + ".asked");  // a mark of nothing
    }
}

Status mark_journal_undone(const std::string& path) {
    if (!path.ends_with(journal_suffix)) return {};
    Status renamed = rename_without_replacing(path, path + std::string(undone_suffix));
    if (renamed) (void)remove_file(path + ".asked");  // a mark of nothing now
    return renamed;
}

bool is_stored_journal_path(const std::string& path) {
    const std::string_view name = last_component(path);
    const std::optional<StoredJournal> journal = journal_named({}, std::string(name));
    return journal && !journal->undone && is_stamp(journal->stamp);
}

std::string stamp_time(const std::string& stamp) {
    if (!is_stamp(stamp)) return stamp;
    return stamp.substr(0, 4) + '-' + stamp.substr(4, 2) + '-' + stamp.substr(6, 2) + ' ' +
           stamp.substr(9, 2) + ':' + stamp.substr(11, 2) + ':' + stamp.substr(13, 2) + " UTC";
}

std::optional<std::int64_t> stamp_seconds(const std::string& stamp) {
    if (!is_stamp(stamp)) return std::nullopt;
    const auto number = [&](std::size_t at, std::size_t length) {
        return std::stoi(stamp.substr(at, length));
    };
    struct tm parts {};
    parts.tm_year = number(0, 4) - 1900;
    parts.tm_mon = number(4, 2) - 1;
    parts.tm_mday = number(6, 2);
    parts.tm_hour = number(9, 2);
    parts.tm_min = number(11, 2);
    parts.tm_sec = number(13, 2);
    return static_cast<std::int64_t>(::timegm(&parts));
}

std::string stamp_of_time(std::int64_t seconds, std::uint32_t nanoseconds) {
    const auto time = static_cast<std::time_t>(seconds);
    struct tm parts {};
    ::gmtime_r(&time, &parts);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    char fraction[16];
    std::snprintf(fraction, sizeof fraction, "-%09u-0",
                  static_cast<unsigned>(nanoseconds % 1000000000U));
    return std::string(text, length) + fraction;
}

}  // namespace varnel
