// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/safe_rewrite.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>
#include <vector>

#include "id3/temp_files.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

// The undo side file: magic, the length n of the region, the hash of the
// new bytes, then the n old bytes.
constexpr std::string_view undo_magic = "VNLUNDO1";
constexpr std::size_t undo_header = 24;

std::uint64_t fnv_hash(std::string_view bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 1099511628211ull;
    return hash;
}

void put_u64(std::string& out, std::uint64_t value) {
    for (int shift = 56; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint64_t get_u64(std::string_view bytes) {
    std::uint64_t value = 0;
    for (const char c : bytes.substr(0, 8)) value = (value << 8) | static_cast<std::uint8_t>(c);
    return value;
}

std::optional<std::string> read_bytes(const ByteFile& file, std::uint64_t offset,
                                      std::size_t size) {
    std::string bytes(size, '\0');
    const std::optional<std::size_t> got = read_at(file.fd(), bytes.data(), size, offset);
    if (!got) return std::nullopt;
    bytes.resize(*got);
    return bytes;
}

// An in-place edit that changes few bytes keeps its record in an extended
// attribute of the file itself: magic, the offset of the changed bytes,
// the hash of their new value, then their old value. Setting it and one
// fsync of the file cost far less than creating, naming and syncing a
// side file (a new inode and a folder entry per edit), and every hard link
// sees it. Larger records (ext4 holds at most one block of attributes per
// file), and file systems without such attributes, use the side file.
constexpr const char* undo_attribute = "user.varnel.undo";
constexpr std::string_view attribute_magic = "VNLUNDA1";
constexpr std::size_t attribute_header = 24;
constexpr std::size_t attribute_record_max = 4000;

// The offset and length of the run from the first to the last byte in
// which `before` and `after` (of one size) differ; length 0 when equal.
std::pair<std::size_t, std::size_t> changed_run(std::string_view before, std::string_view after) {
    std::size_t first = 0;
    while (first < after.size() && before[first] == after[first]) ++first;
    std::size_t end = after.size();
    while (end > first && before[end - 1] == after[end - 1]) --end;
    return {first, end - first};
}

// Puts back the old bytes of the file's undo attribute unless the new ones
// are all there (or always, with `force`), then removes the attribute.
// true also when there is none or the file system has no attributes.
bool roll_back_attribute(ByteFile& file, bool force = false) {
    const std::optional<std::string> record = read_attribute(file.fd(), undo_attribute);
    if (!record) return errno == ENODATA || errno == ENOTSUP || errno == EOPNOTSUPP;
    // An attribute is set whole or not at all; one of another form is dropped.
    if (record->size() >= attribute_header && record->starts_with(attribute_magic)) {
        const std::uint64_t offset = get_u64(std::string_view(*record).substr(8));
        const std::string_view old = std::string_view(*record).substr(attribute_header);
        const std::optional<std::string> now = read_bytes(file, offset, old.size());
        if (!now) return false;
        const bool new_is_there =
            !force && fnv_hash(*now) == get_u64(std::string_view(*record).substr(16));
        if (!new_is_there && !(write_at(file.fd(), old.data(), old.size(), offset) && file.sync()))
            return false;
    }
    return remove_attribute(file.fd(), undo_attribute);
}

// The in-place write of the changed run [first, first + length) of `bytes`
// with its record in the file's attribute (set already): synced, written,
// synced, removed.
bool overwrite_with_attribute(ByteFile& file, std::string_view bytes, std::size_t first,
                              std::size_t length) {
    if (!file.sync()) {
        const int error = errno;
        remove_attribute(file.fd(), undo_attribute);
        errno = error;
        return false;
    }
    // From here a crash leaves the attribute, and the next edit finishes.
    if (!write_at(file.fd(), bytes.data() + first, length, first) || !sync_data(file.fd())) {
        const int error = errno;
        roll_back_attribute(file, true);
        errno = error;
        return false;
    }
    // The new bytes are synced: an attribute left behind by a failed removal
    // is found complete and dropped by the next edit.
    remove_attribute(file.fd(), undo_attribute);
    return true;
}

// The file being edited: its folder, name and identity, locked.
struct Target {
    SideFolder folder;
    std::string name;
    FileInfo info;
};

// Locked first, checked then: a writer that replaced the file while this
// one waited for the lock is noticed.
std::optional<Target> lock_target(ByteFile& file, const std::string& path) {
    if (!lock_file(file.fd())) return std::nullopt;
    const std::optional<FileInfo> info = file_info(file.fd());
    const std::optional<FileLocation> where = locate_file(path);
    if (!info || !where) return std::nullopt;
    std::optional<SideFolder> folder = SideFolder::open(where->folder);
    if (!folder) return std::nullopt;
    std::optional<ByteFile> found = folder->open_entry(where->name, false);
    const std::optional<FileInfo> found_info =
        found ? file_info(found->fd()) : std::optional<FileInfo>();
    if (!found_info || found_info->device != info->device || found_info->inode != info->inode) {
        errno = ESTALE;  // the name now leads to another file
        return std::nullopt;
    }
    return Target{std::move(*folder), where->name, *info};
}

// Copies the finished new file over the file in place and syncs it.
bool copy_over(ByteFile& file, int from) {
    const std::optional<FileInfo> source = file_info(from);
    return source && copy_to_end(from, 0, file.fd(), 0) && file.truncate(source->size) &&
           file.sync();
}

bool roll_forward(ByteFile& file, const Target& target, const std::string& redo) {
    std::optional<ByteFile> finished = target.folder.open_entry(redo, false);
    if (!finished) return false;
    return copy_over(file, finished->fd()) && target.folder.remove(redo);
}

// Puts the old bytes back unless the new ones are all there (or always,
// with `force`: after a failed write of them).
bool roll_back(ByteFile& file, const Target& target, const std::string& undo, bool force = false) {
    std::optional<ByteFile> side = target.folder.open_entry(undo, false);
    const std::optional<FileInfo> side_info = side ? file_info(side->fd()) : std::nullopt;
    if (!side_info) return false;
    const std::optional<std::string> record =
        read_bytes(*side, 0, static_cast<std::size_t>(side_info->size));
    if (!record) return false;
    const bool complete =
        record->size() >= undo_header && record->starts_with(undo_magic) &&
        get_u64(std::string_view(*record).substr(8)) == record->size() - undo_header;
    // An incomplete record was cut short before the file was touched.
    if (complete) {
        const std::string_view old = std::string_view(*record).substr(undo_header);
        const std::optional<std::string> now = read_bytes(file, 0, old.size());
        if (!now) return false;
        const bool new_is_there =
            !force && fnv_hash(*now) == get_u64(std::string_view(*record).substr(16));
        if (!new_is_there && !(write_at(file.fd(), old.data(), old.size(), 0) && file.sync()))
            return false;
    }
    return target.folder.remove(undo);
}

bool recover(ByteFile& file, const Target& target) {
    const std::string redo = redo_file_name(target.name, target.info.inode);
    if (target.folder.has(redo) && !roll_forward(file, target, redo)) return false;
    const std::string undo = undo_file_name(target.name, target.info.inode);
    return (!target.folder.has(undo) || roll_back(file, target, undo)) && roll_back_attribute(file);
}

// A new side file that is removed unless it was given its final name.
class NewFile {
public:
    NewFile(const Target& target, std::int64_t started) : target_(target) {
        name_ = new_file_name(target.name, target.info.inode);
        if (is_stale_new_file(target.folder.regular_file_changed(name_), started))
            target.folder.remove(name_);
        file_ = target.folder.create_file(name_, named_);
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile() {
        if (named_) target_.folder.remove(name_);
    }

    bool is_open() const { return file_.has_value(); }
    ByteFile& file() { return *file_; }
    // Gives the synced file the name `final_name`.
    bool name_as(const std::string& final_name) {
        const bool done = named_ ? target_.folder.rename_over(name_, final_name)
                                 : target_.folder.link_file(*file_, final_name);
        if (done) named_ = false;  // the name is no longer ours to remove
        return done;
    }

private:
    const Target& target_;
    std::string name_;
    std::optional<ByteFile> file_;
    bool named_ = false;
};

bool fill(NewFile& fresh, const ByteFile& file, std::uint64_t cut, std::string_view head) {
    const std::optional<FileInfo> info = file_info(file.fd());
    if (!info) return false;
    cut = std::min(cut, info->size);
    const int to = fresh.file().fd();
    return write_at(to, head.data(), head.size(), 0) &&
           copy_to_end(file.fd(), cut, to, head.size()) && copy_metadata(file.fd(), to) &&
           fresh.file().sync();
}

}  // namespace

std::string undo_record(std::string_view old_bytes, std::string_view new_bytes) {
    std::string record(undo_magic);
    put_u64(record, old_bytes.size());
    put_u64(record, fnv_hash(new_bytes));
    record += old_bytes;
    return record;
}

bool leads_to_mp3_name(const std::string& path) {
    const std::optional<FileLocation> where = locate_file(path);
    if (!where) return false;
    std::string extension =
        where->name.substr(where->name.size() - std::min<std::size_t>(4, where->name.size()));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".mp3") return true;
    errno = EINVAL;
    return false;
}

bool recover_file_edit(ByteFile& file, const std::string& path) {
    std::optional<Target> target = lock_target(file, path);
    return target && recover(file, *target);
}

bool replace_file_start(ByteFile& file, const std::string& path, std::uint64_t cut,
                        std::string_view head) {
    const std::int64_t started = time_now();
    std::optional<Target> target = lock_target(file, path);
    if (!target || !recover(file, *target)) return false;
    NewFile fresh(*target, started);
    if (!fresh.is_open() || !fill(fresh, file, cut, head)) return false;
    if (target->info.links > 1) {
        const std::string redo = redo_file_name(target->name, target->info.inode);
        if (!fresh.name_as(redo) || !target->folder.sync()) return false;
        // From here a crash leaves the finished file, and the next edit
        // copies it over again.
        return copy_over(file, fresh.file().fd()) && target->folder.remove(redo);
    }
    const std::string temporary = new_file_name(target->name, target->info.inode);
    if (!fresh.name_as(temporary)) return false;
    if (!target->folder.rename_over(temporary, target->name)) {
        target->folder.remove(temporary);
        return false;
    }
    file = std::move(fresh.file());
    return target->folder.sync();
}

bool overwrite_file_start(ByteFile& file, const std::string& path, std::string_view bytes) {
    const std::int64_t started = time_now();
    std::optional<Target> target = lock_target(file, path);
    if (!target || !recover(file, *target)) return false;
    const std::optional<std::string> old = read_bytes(file, 0, bytes.size());
    if (!old) return false;
    if (*old == bytes) return true;
    const auto [first, length] = changed_run(*old, bytes);
    if (attribute_header + length <= attribute_record_max) {
        std::string record(attribute_magic);
        put_u64(record, first);
        put_u64(record, fnv_hash(bytes.substr(first, length)));
        record += std::string_view(*old).substr(first, length);
        if (write_attribute(file.fd(), undo_attribute, record))
            return overwrite_with_attribute(file, bytes, first, length);
        // No attributes here (FAT, many FUSE file systems): the side file.
    }
    const std::string record = undo_record(*old, bytes);
    NewFile side(*target, started);
    const std::string undo = undo_file_name(target->name, target->info.inode);
    // The record is named, then synced: the sync of a file whose link was
    // just made commits that link too (journaling file systems log the two
    // in order; FAT writes the entry with the file's size), which saves the
    // folder's own sync.
    if (!side.is_open() || !write_at(side.file().fd(), record.data(), record.size(), 0) ||
        !side.name_as(undo) || !side.file().sync())
        return false;
    // From here a crash leaves the record, and the next edit finishes.
    if (!write_at(file.fd(), bytes.data(), bytes.size(), 0) || !sync_data(file.fd())) {
        const int error = errno;
        roll_back(file, *target, undo, true);
        errno = error;
        return false;
    }
    return target->folder.remove(undo);
}

}  // namespace varnel
