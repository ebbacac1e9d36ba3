#include "filelist/adding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace varnel {

std::optional<std::string> read_last_folder(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        // O_EXCL creates the file itself, never the target of a dangling link.
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) return std::nullopt;
        ::close(fd);
        return std::string();
    }
    if (fd < 0) return std::nullopt;
    std::string line;
    std::array<char, 512> buffer{};
    bool done = false;
    while (!done) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got <= 0) break;
        for (ssize_t i = 0; i < got && !done; ++i) {
            const char c = buffer[static_cast<std::size_t>(i)];
            if (c == '\n' || c == '\0' || c == '\x1A')
                done = true;
            else
                line += c;
        }
    }
    ::close(fd);
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
        struct stat info {};
        const bool is_file = ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
        (is_file ? sorted.files : sorted.folders).push_back(path);
    }
    return sorted;
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
