// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/adding.h"

#include <cerrno>
#include <optional>
#include <string_view>

#include "platform/folder_listing.h"
#include "platform/small_file.h"

namespace varnel {

namespace {
// dir.txt holds one folder; a longer first line is cut here.
constexpr std::size_t dir_txt_read_limit = 64 * 1024;
}  // namespace

std::optional<std::string> read_last_folder(const std::string& path) {
    const Result<std::string> bytes = read_file_start(path, dir_txt_read_limit);
    if (!bytes) {
        if (bytes.error().number != ENOENT || !create_empty_file(path)) return std::nullopt;
        return std::string();
    }
    // The first line: it ends at a line feed, a NUL or an end-of-file mark
    // (Ctrl-Z, byte 0x1A).
    constexpr std::string_view line_ends("\n\0\x1A", 3);
    std::string line = bytes->substr(0, bytes->find_first_of(line_ends));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

WriteResult write_last_folder(const std::string& path, std::string_view folder) {
    std::string content(folder);
    content += "\r\n";
    return replace_file_atomically(path, content);
}

std::string folder_of_path(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string name_of_path(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

DroppedPaths sort_dropped_paths(const std::vector<std::string>& paths) {
    DroppedPaths sorted;
    for (const std::string& path : paths) {
        const bool is_file = path_kind(path) == PathKind::other;
        (is_file ? sorted.files : sorted.folders).push_back(path);
    }
    return sorted;
}

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percent_decoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hex_value(text[i + 1]);
            const int low = hex_value(text[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        bytes.push_back(text[i]);
    }
    return bytes;
}

// The path of one file: URI, or nullopt.
std::optional<std::string> local_path(std::string_view uri) {
    constexpr std::string_view scheme = "file:";
    if (uri.size() < scheme.size()) return std::nullopt;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if ((uri[i] | 0x20) != scheme[i]) return std::nullopt;  // FILE: too
    uri.remove_prefix(scheme.size());
    if (uri.starts_with("//")) {
        uri.remove_prefix(2);
        const std::size_t slash = uri.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        const std::string_view host = uri.substr(0, slash);
        if (!host.empty() && host != "localhost") return std::nullopt;
        uri.remove_prefix(slash);
    }
    if (!uri.starts_with('/')) return std::nullopt;
    const std::size_t end = uri.find_first_of("?#");
    std::string path = percent_decoded(uri.substr(0, end));
    if (path.find('\0') != std::string::npos) return std::nullopt;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::vector<std::string> paths_from_uri_list(std::string_view list) {
    std::vector<std::string> paths;
    while (!list.empty()) {
        const std::size_t end = list.find('\n');
        std::string_view line = list.substr(0, end);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (std::optional<std::string> path = local_path(line)) paths.push_back(std::move(*path));
    }
    return paths;
}

std::vector<FolderRun> runs_by_folder(const std::vector<std::string>& paths) {
    std::vector<FolderRun> runs;
    for (const std::string& path : paths) {
        std::string folder = folder_of_path(path);
        if (runs.empty() || runs.back().folder != folder)
            runs.push_back(FolderRun{std::move(folder), {}});
        runs.back().names.push_back(name_of_path(path));
    }
    return runs;
}

bool fits_chooser_buffer(const std::vector<std::string>& paths) {
    std::size_t needed = 0;
    if (paths.size() == 1) {
        needed = paths.front().size() + 1;
    } else {
        const std::vector<FolderRun> runs = runs_by_folder(paths);
        needed = (runs.empty() ? 0 : runs.front().folder.size() + 1) + 1;
        for (const FolderRun& run : runs)
            for (const std::string& name : run.names) needed += name.size() + 1;
    }
    return needed <= chooser_buffer_size;
}

std::vector<FileFilter> parse_filter_list(std::string_view list) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t bar = list.find('|', start);
        parts.emplace_back(list.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter filter{parts[i], {}};
        std::string_view patterns = parts[i + 1];
        std::size_t from = 0;
        while (from <= patterns.size()) {
            const std::size_t semicolon = patterns.find(';', from);
            std::string pattern(patterns.substr(
                from, semicolon == std::string_view::npos ? semicolon : semicolon - from));
            if (pattern == "*.*") pattern = "*";
            if (!pattern.empty()) filter.patterns.push_back(pattern);
            if (semicolon == std::string_view::npos) break;
            from = semicolon + 1;
        }
        filters.push_back(std::move(filter));
    }
    return filters;
}

}  // namespace varnel
