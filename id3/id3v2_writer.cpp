#include "id3/id3v2_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <optional>

#include "id3/fd_io.h"
#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"

namespace varnel {
namespace {

constexpr std::size_t block_size = 4096;
constexpr std::size_t padding_size = 877;
constexpr std::uint64_t frames_size = 137;  // the twelve frames without their texts
constexpr std::uint64_t max_syncsafe = (1u << 28) - 1;

void put_be32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void put_syncsafe(std::string& out, std::uint32_t value) {
    for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((value >> shift) & 0x7F);
}

// id, size, flag bytes `flag` 00, encoding byte 00, `prefix`, `text`.
void put_frame(std::string& out, std::string_view id, std::string_view prefix,
               std::string_view text, char flag = '\0') {
    out += id;
    put_be32(out, static_cast<std::uint32_t>(1 + prefix.size() + text.size()));
    out += flag;
    out += '\0';
    out += '\0';
    out += prefix;
    out += text;
}

std::uint64_t text_size(const TagFields& f) {
    const std::array<const std::string*, 12> texts{
        &f.title,   &f.artist,   &f.album,           &f.track,     &f.year, &f.genre,
        &f.comment, &f.composer, &f.original_artist, &f.copyright, &f.url,  &f.encoder};
    std::uint64_t sum = 0;
    for (const std::string* text : texts) sum += text->size();
    return sum;
}

// The length of the tag at the start of the file, 0 when there is none;
// nullopt when a header is there but its length cannot be read.
std::optional<std::uint64_t> old_tag_length(ByteFile& file) {
    if (!has_id3v2_header(file)) return 0;
    const std::optional<std::uint32_t> length = id3v2_tag_length(file);
    if (!length) return std::nullopt;
    return *length;
}

// A file with several names is edited where it is, so every name sees it.
bool edit_in_place(ByteFile& file, std::uint64_t old_length, std::string_view tag) {
    return (old_length == 0 || delete_bytes(file, 0, old_length)) && insert_bytes(file, 0, tag) &&
           file.sync();
}

bool replace_tag(ByteFile& file, const std::string& path, std::uint64_t old_length,
                 std::string_view tag) {
    struct stat info {};
    if (fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (info.st_nlink > 1) return edit_in_place(file, old_length, tag);
    return replace_file_start(file, path, old_length, tag);
}

bool read_block(int fd, char* buffer, std::size_t size, std::uint64_t offset) {
    const std::optional<std::size_t> count = read_at(fd, buffer, size, offset);
    return count && *count == size;
}

}  // namespace

std::string build_id3v2_tag(const TagFields& f) {
    const std::uint64_t size = frames_size + padding_size + text_size(f);
    if (size > max_syncsafe) return {};
    std::string tag = "ID3";
    tag += '\x03';
    tag += '\0';
    tag += '\0';
    put_syncsafe(tag, static_cast<std::uint32_t>(size));
    put_frame(tag, "TRCK", {}, f.track);
    put_frame(tag, "TENC", {}, f.encoder, '\x40');
    put_frame(tag, "WXXX", std::string_view("\0", 1), f.url);
    put_frame(tag, "TCOP", {}, f.copyright);
    put_frame(tag, "TOPE", {}, f.original_artist);
    put_frame(tag, "TCOM", {}, f.composer);
    put_frame(tag, "COMM", std::string_view("CHS\0", 4), f.comment);
    put_frame(tag, "TCON", {}, f.genre);
    put_frame(tag, "TYER", {}, f.year);
    put_frame(tag, "TALB", {}, f.album);
    put_frame(tag, "TPE1", {}, f.artist);
    put_frame(tag, "TIT2", {}, f.title);
    tag.append(padding_size, '\0');
    return tag;
}

bool write_id3v2_tag(ByteFile& file, const std::string& path, const TagFields& fields) {
    const std::string tag = build_id3v2_tag(fields);
    if (tag.empty()) return false;
    const std::optional<std::uint64_t> old_length = old_tag_length(file);
    return old_length && replace_tag(file, path, *old_length, tag);
}

bool remove_id3v2_tag(ByteFile& file, const std::string& path) {
    const std::optional<std::uint64_t> old_length = old_tag_length(file);
    if (!old_length) return false;
    return *old_length == 0 || replace_tag(file, path, *old_length, {});
}

bool delete_bytes(ByteFile& file, std::uint64_t position, std::uint64_t count) {
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return false;
    if (position >= *length || count == 0) return true;
    count = std::min(count, *length - position);
    char buffer[block_size];
    for (std::uint64_t target = position; target + count < *length;) {
        const auto block = static_cast<std::size_t>(
            std::min<std::uint64_t>(block_size, *length - (target + count)));
        if (!read_block(file.fd(), buffer, block, target + count) ||
            !write_at(file.fd(), buffer, block, target))
            return false;
        target += block;
    }
    return file.truncate(*length - count);
}

bool insert_bytes(ByteFile& file, std::uint64_t position, std::string_view bytes) {
    if (bytes.empty()) return true;
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return false;
    char buffer[block_size];
    for (std::uint64_t end = *length; end > position;) {
        const auto block =
            static_cast<std::size_t>(std::min<std::uint64_t>(block_size, end - position));
        const std::uint64_t start = end - block;
        if (!read_block(file.fd(), buffer, block, start) ||
            !write_at(file.fd(), buffer, block, start + bytes.size()))
            return false;
        end = start;
    }
    return write_at(file.fd(), bytes.data(), bytes.size(), position);
}

}  // namespace varnel
