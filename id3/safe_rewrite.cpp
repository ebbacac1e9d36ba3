// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/safe_rewrite.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "id3/edit_record.h"
#include "platform/file_id.h"
#include "platform/recovery_folder.h"
#include "platform/sha256.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr const char* undo_attribute = "user.varnel.undo";
constexpr std::size_t attribute_record_max = 4000;

EditRecord new_record(RecordKind kind, const FileId& id, std::uint64_t old_length,
                      std::uint64_t new_length) {
    EditRecord record;
    record.kind = kind;
    record.file = id;
    record.old_length = old_length;
    record.new_length = new_length;
    return record;
}

Result<std::string> read_bytes(const ByteFile& file, std::uint64_t offset, std::uint64_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const Result<std::size_t> got = file.read_at(bytes.data(), bytes.size(), offset);
    if (!got) return got.error();
    bytes.resize(*got);
    return bytes;
}

// The hash of the pieces of the file outside the regions (edit_record.h).
Result<Sha256Digest> outside_hash(const ByteFile& file, const std::vector<RecordRegion>& regions,
                                  std::uint64_t limit) {
    Sha256 hash;
    for (const auto& [offset, length] : outside_pieces(regions, limit)) {
        const Result<std::string> piece = read_bytes(file, offset, length);
        if (!piece) return piece.error();
        hash.update(*piece);
    }
    return hash.finish();
}

// The file being edited: its folder, name and identity, locked.
struct Target {
    SideFolder folder;
    std::string name;
    FileInfo info;
    FileId id;
};

// Locked first, checked then: a writer that replaced the file while this
// one waited for the lock is noticed. With `follow`, `file` is then opened
// anew on the file the path leads to now, and locked in turn.
Result<Target> lock_target(ByteFile& file, const std::string& path, bool follow) {
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (const Status locked = lock_file(file, edit_lock_wait_ms); !locked)
            return locked.error();
        const Result<FileInfo> info = file_info(file);
        if (!info) return info.error();
        const Result<FileId> id = file_id_of(file);
        if (!id) return id.error();
        const Result<FileLocation> where = locate_file(path);
        if (!where) return where.error();
        Result<SideFolder> folder = SideFolder::open(where->folder);
        if (!folder) return folder.error();
        const Result<ByteFile> found = folder->open_entry(where->name, false);
        const std::optional<FileInfo> found_info =
            found ? file_info(*found) : std::optional<FileInfo>();
        if (found_info && found_info->device == info->device && found_info->inode == info->inode)
            return Target{std::move(*folder), where->name, *info, *id};
        // Only a file that lost its last name to another edit is left for
        // the one the path leads to now.
        if (!follow || !found_info || info->links > 0)
            return SystemError{ESTALE, "the name now leads to another file"};
        Result<ByteFile> now = open_regular_file(path, true);
        if (!now) return now.error();
        file = std::move(*now);
    }
    return SystemError{EWOULDBLOCK, "the file keeps being replaced"};
}

// Copies the finished new file over the file in place and syncs it.
Status copy_over(const ByteFile& file, const ByteFile& from, std::uint64_t size) {
    Status done = copy_to_end(from, 0, file, 0);
    if (done) done = file.truncate(size);
    if (done) done = file.sync();
    return done;
}

bool length_between(std::uint64_t length, const EditRecord& record) {
    return length >= std::min(record.old_length, record.new_length) &&
           length <= std::max(record.old_length, record.new_length);
}

// Writes the new bytes of every region and gives the file its new length.
Status write_new(const ByteFile& file, const EditRecord& record) {
    for (const RecordRegion& region : record.regions)
        if (Status written =
                file.write_at(region.new_bytes.data(), region.new_bytes.size(), region.offset);
            !written)
            return written;
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    if (*length != record.new_length)
        if (Status cut = file.truncate(record.new_length); !cut) return cut;
    return file.sync_data();
}

// Puts back the old bytes of every region and the old length.
Status write_old(const ByteFile& file, const EditRecord& record) {
    for (const RecordRegion& region : record.regions)
        if (Status written =
                file.write_at(region.old_bytes.data(), region.old_bytes.size(), region.offset);
            !written)
            return written;
    if (Status cut = file.truncate(record.old_length); !cut) return cut;
    return file.sync_data();
}

// Finishes an in-place edit whose regions hold old, new or torn bytes.
Result<Recovery> apply_patch(const ByteFile& file, const EditRecord& record) {
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    if (!length_between(*length, record)) return Recovery::discarded;
    const Result<Sha256Digest> outside =
        outside_hash(file, record.regions, std::min(record.old_length, record.new_length));
    if (!outside) return outside.error();
    if (*outside != record.outside) return Recovery::discarded;
    bool all_new = *length == record.new_length;
    for (const RecordRegion& region : record.regions) {
        const std::uint64_t end =
            region.offset + std::max(region.old_bytes.size(), region.new_bytes.size());
        const std::uint64_t size = std::min(end, *length) - std::min(region.offset, *length);
        const Result<std::string> now = read_bytes(file, region.offset, size);
        if (!now) return now.error();
        const RegionState state = region_state(*now, region);
        if (state == RegionState::foreign) return Recovery::discarded;
        all_new = all_new && state == RegionState::new_bytes;
    }
    if (!all_new)
        if (const Status written = write_new(file, record); !written) return written.error();
    return Recovery::finished;
}

// Whether each piece of the file (copy_pieces) holds the old or the new
// file's bytes.
Result<bool> pieces_old_or_new(const ByteFile& file, std::uint64_t length, const ByteFile& finished,
                               const EditRecord& record) {
    const auto pieces = copy_pieces(std::max(length, record.old_length), record.new_length);
    for (std::size_t i = 0; i < pieces.size() && pieces[i].first < length; ++i) {
        const auto [at, size] = pieces[i];
        const std::uint64_t now_size = std::min(at + size, length) - at;
        const Result<std::string> now = read_bytes(file, at, now_size);
        if (!now) return now.error();
        if (at < record.new_length) {
            const Result<std::string> fresh = read_bytes(finished, at, now_size);
            if (!fresh) return fresh.error();
            if (*fresh == *now) continue;
        }
        const std::uint64_t old_size =
            at < record.old_length ? std::min(at + size, record.old_length) - at : 0;
        if (i >= record.old_blocks.size() || old_size != now_size ||
            sha256(*now) != record.old_blocks[i])
            return false;
    }
    return true;
}

Result<Sha256Digest> file_hash(const ByteFile& file) {
    Sha256 hash;
    std::string buffer(std::size_t{1} << 20, '\0');
    for (std::uint64_t at = 0;;) {
        const Result<std::size_t> got = file.read_at(buffer.data(), buffer.size(), at);
        if (!got) return got.error();
        if (*got == 0) return hash.finish();
        hash.update(std::string_view(buffer).substr(0, *got));
        at += *got;
    }
}

// Finishes the copy of the finished new file over a linked file.
Result<Recovery> apply_copy(const ByteFile& file, const EditRecord& record,
                            const RecoveryFolder& folder, const std::string& companion) {
    const Result<ByteFile> finished = folder.open_file(companion);
    const std::optional<std::uint64_t> finished_length =
        finished ? finished->length() : std::optional<std::uint64_t>();
    if (!finished_length || *finished_length != record.new_length) return Recovery::discarded;
    const Result<Sha256Digest> finished_hash = file_hash(*finished);
    if (!finished_hash) return finished_hash.error();
    if (*finished_hash != record.new_file) return Recovery::discarded;
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    if (!length_between(*length, record)) return Recovery::discarded;
    const Result<bool> known = pieces_old_or_new(file, *length, *finished, record);
    if (!known) return known.error();
    if (!*known) return Recovery::discarded;
    if (const Status copied = copy_over(file, *finished, record.new_length); !copied)
        return copied.error();
    return Recovery::finished;
}

// What a rewrite by rename left: the new file under its temporary name
// (then the file is the old one: the new file and its record go), or
// nothing but the old file's record (then the file is the new one).
Result<Recovery> remove_temporary(const EditRecord& record, const Target& target,
                                  const RecoveryFolder& folder) {
    std::string partner = record.partner;
    // Written before the new file existed: the entry tells the new file's record.
    if (partner.empty())
        if (const std::optional<FileId> left = target.folder.entry_id(record.temp_name))
            if (left->inode != target.info.inode) partner = record_name(*left);
    if (const Status removed = target.folder.remove_own_file(record.temp_name, target.info.inode);
        !removed)
        return removed.error();
    if (!partner.empty())
        if (const Status removed = folder.remove(partner); !removed) return removed.error();
    return Recovery::finished;
}

// The record in the private folder.
Result<Recovery> recover_folder(const ByteFile& file, const Target& target) {
    const Result<RecoveryFolder> folder = RecoveryFolder::open(false);
    if (!folder) {
        if (folder.error().number == ENOENT) return Recovery::nothing;
        return folder.error();
    }
    const std::string name = record_name(target.id);
    const std::string companion = name + ".new";
    const Result<std::string> bytes = folder->read(name);
    if (!bytes && bytes.error().number != EPERM) {
        if (bytes.error().number != ENOENT) return bytes.error();
        if (const Status removed = folder->remove(companion); !removed) return removed.error();
        return Recovery::nothing;
    }
    const std::optional<EditRecord> record = bytes ? decode_record(*bytes) : std::nullopt;
    Result<Recovery> found = Recovery::nothing;  // a record cut short
    if (record && !same_recorded_file(record->file, target.id)) {
        found = Recovery::discarded;
    } else if (record && record->kind == RecordKind::patch) {
        found = apply_patch(file, *record);
    } else if (record && record->kind == RecordKind::copy) {
        found = apply_copy(file, *record, *folder, companion);
    } else if (record && record->kind == RecordKind::temp) {
        found = remove_temporary(*record, target, *folder);
    }
    if (!found) return found;
    if (const Status removed = folder->remove(companion); !removed) return removed.error();
    if (const Status removed = folder->remove(name); !removed) return removed.error();
    return found;
}

// The record of a small in-place edit kept in the file's own attribute
// (see patch): applied under the same binding as a record in the private
// folder, so that one copied with the file (cp -a, tar --xattrs) or set by
// someone else is dropped unused; one of another form is dropped too.
Result<Recovery> recover_attribute(const ByteFile& file, const Target& target) {
    const Result<std::string> bytes = read_attribute(file, undo_attribute);
    if (!bytes) {
        const int error = bytes.error().number;
        if (error == ENODATA || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS)
            return Recovery::nothing;
        return bytes.error();
    }
    const std::optional<EditRecord> record = decode_record(*bytes);
    Result<Recovery> found = Recovery::nothing;
    if (record &&
        (record->kind != RecordKind::patch || !same_recorded_file(record->file, target.id)))
        found = Recovery::discarded;
    else if (record)
        found = apply_patch(file, *record);
    if (!found) return found;
    if (const Status removed = remove_attribute(file, undo_attribute); !removed)
        return removed.error();
    return found;
}

Result<Recovery> recover(const ByteFile& file, const Target& target) {
    const Result<Recovery> in_attribute = recover_attribute(file, target);
    if (!in_attribute) return in_attribute;
    const Result<Recovery> in_folder = recover_folder(file, target);
    if (!in_folder) return in_folder;
    return *in_attribute != Recovery::nothing ? *in_attribute : *in_folder;
}

// The run from the first to the last byte in which `before` and `after`
// differ, as a region at `offset`; its bytes are equal in size unless the
// two differ in size, when the run reaches their ends.
std::optional<RecordRegion> changed_region(std::uint64_t offset, std::string_view before,
                                           std::string_view after) {
    std::size_t first = 0;
    while (first < before.size() && first < after.size() && before[first] == after[first]) ++first;
    std::size_t end_before = before.size();
    std::size_t end_after = after.size();
    if (before.size() == after.size())
        while (end_after > first && before[end_after - 1] == after[end_after - 1])
            end_before = --end_after;
    if (first == end_before && first == end_after) return std::nullopt;
    return RecordRegion{offset + first, std::string(before.substr(first, end_before - first)),
                        std::string(after.substr(first, end_after - first))};
}

// A small record goes into an attribute of the file itself: setting it and
// one fsync of the file cost far less than creating and syncing a record
// file (a new inode and a folder entry per edit), and every hard link sees
// it. The attribute stays within what ext4 keeps in one block.
Status patch_with_attribute(const ByteFile& file, const EditRecord& record) {
    if (const Status synced = file.sync(); !synced) {
        (void)remove_attribute(file, undo_attribute);
        return synced;
    }
    // From here a crash leaves the attribute, and the next edit finishes.
    if (const Status written = write_new(file, record); !written) {
        if (write_old(file, record)) (void)remove_attribute(file, undo_attribute);
        return written;
    }
    return remove_attribute(file, undo_attribute);
}

// The in-place edit: the record first (in the file's attribute or the
// private folder), then the new bytes, then the record is removed.
Status patch(const ByteFile& file, const Target& target, const FileEdit& edit, std::uint64_t length,
             std::uint64_t tail_from) {
    EditRecord record = new_record(RecordKind::patch, target.id, length,
                                   edit.head.size() + (tail_from - edit.cut) + edit.tail.size());
    const Result<std::string> head = read_bytes(file, 0, edit.cut);
    if (!head) return head.error();
    const Result<std::string> tail = read_bytes(file, tail_from, length - tail_from);
    if (!tail) return tail.error();
    if (std::optional<RecordRegion> region = changed_region(0, *head, edit.head))
        record.regions.push_back(std::move(*region));
    if (std::optional<RecordRegion> region = changed_region(tail_from, *tail, edit.tail))
        record.regions.push_back(std::move(*region));
    if (record.regions.empty()) return {};  // the bytes are there already
    const Result<Sha256Digest> outside =
        outside_hash(file, record.regions, std::min(record.old_length, record.new_length));
    if (!outside) return outside.error();
    record.outside = *outside;
    const std::string bytes = encode_record(record);
    if (bytes.size() <= attribute_record_max && write_attribute(file, undo_attribute, bytes))
        return patch_with_attribute(file, record);
    // No attributes here (FAT, many FUSE file systems), or too large.
    const Result<RecoveryFolder> folder = RecoveryFolder::open(true);
    if (!folder) return folder.error();
    const std::string name = record_name(target.id);
    if (const Status written = folder->write(name, bytes); !written) return written;
    // From here a crash leaves the record, and the next edit finishes.
    if (const Status written = write_new(file, record); !written) {
        if (write_old(file, record)) (void)folder->remove(name);
        return written;
    }
    return folder->remove(name);
}

// Writes the new content into `to`: head, kept bytes, tail; synced.
Status fill(const ByteFile& to, const ByteFile& file, const FileEdit& edit,
            std::uint64_t tail_from) {
    const std::uint64_t kept_end = edit.head.size() + (tail_from - edit.cut);
    Status done = to.write_at(edit.head.data(), edit.head.size(), 0);
    if (done) done = copy_to_end(file, edit.cut, to, edit.head.size());
    if (done) done = to.truncate(kept_end);
    if (done) done = to.write_at(edit.tail.data(), edit.tail.size(), kept_end);
    return done;
}

Result<std::vector<Sha256Digest>> piece_hashes(const ByteFile& file, std::uint64_t length,
                                               std::uint64_t new_length) {
    std::vector<Sha256Digest> hashes;
    for (const auto& [at, size] : copy_pieces(length, new_length)) {
        const Result<std::string> piece = read_bytes(file, at, size);
        if (!piece) return piece.error();
        hashes.push_back(sha256(*piece));
    }
    return hashes;
}

// The record of the copy of the new file `fresh` over `file`: what the
// pieces of the old file hold and the new file's hash.
Status fill_copy_record(EditRecord& record, const ByteFile& file, std::uint64_t length,
                        const ByteFile& fresh) {
    Result<std::vector<Sha256Digest>> old_blocks = piece_hashes(file, length, record.new_length);
    if (!old_blocks) return old_blocks.error();
    const Result<Sha256Digest> new_file = file_hash(fresh);
    if (!new_file) return new_file.error();
    record.old_blocks = std::move(*old_blocks);
    record.new_file = *new_file;
    return {};
}

// The new file of a file with several hard links: written in the private
// folder, recorded, then copied over the file in place.
Status copy_into_place(const ByteFile& file, const Target& target, const FileEdit& edit,
                       std::uint64_t length, std::uint64_t tail_from) {
    const Result<RecoveryFolder> folder = RecoveryFolder::open(true);
    if (!folder) return folder.error();
    const std::string name = record_name(target.id);
    const std::string companion = name + ".new";
    const Result<ByteFile> fresh = folder->create_file(companion);
    if (!fresh) return fresh.error();
    EditRecord record = new_record(RecordKind::copy, target.id, length,
                                   edit.head.size() + (tail_from - edit.cut) + edit.tail.size());
    Status ready = fill(*fresh, file, edit, tail_from);
    if (ready) ready = fresh->sync();
    if (ready) ready = fill_copy_record(record, file, length, *fresh);
    if (ready) ready = folder->write(name, encode_record(record));
    if (!ready) {
        (void)folder->remove(companion);
        return ready;
    }
    // From here a crash leaves the record, and the next edit copies again.
    Status done = copy_over(file, *fresh, record.new_length);
    if (done) done = folder->remove(companion);
    if (done) done = folder->remove(name);
    return done;
}

// The name of the new file while it takes the file's place: unguessable
// before it exists, and within 255 bytes.
std::string temporary_name(const std::string& name) {
    const std::string tail = ".varnel-" + random_hex(8);
    return "." + name.substr(0, 254 - tail.size()) + tail;
}

// The new file of a file with one link: written beside it (nameless where
// the file system allows), then renamed over it. Records under the old
// and the new file's identity name the temporary for as long as it has a
// name, so that the next edit of whichever file the name then leads to
// removes what is left.
Status rename_into_place(ByteFile& file, const Target& target, const FileEdit& edit,
                         std::uint64_t tail_from) {
    const Result<RecoveryFolder> folder = RecoveryFolder::open(true);
    if (!folder) return folder.error();
    EditRecord old_record = new_record(RecordKind::temp, target.id, 0, 0);
    old_record.temp_name = temporary_name(target.name);
    const std::string old_name = record_name(target.id);
    std::string new_name;
    const auto give_up = [&](Status failure) {
        (void)target.folder.remove(old_record.temp_name);
        if (!new_name.empty()) (void)folder->remove(new_name);
        (void)folder->remove(old_name);
        return failure;
    };
    // The new file's record, once it exists. Where the file system has
    // nameless files the old file's record is written first and names it,
    // so that no record is ever left that no file leads to.
    EditRecord new_file_record;
    const auto name_new = [&](const ByteFile& fresh) -> Status {
        const Result<FileId> id = file_id_of(fresh);
        if (!id) return id.error();
        new_file_record = new_record(RecordKind::temp, *id, 0, 0);
        new_file_record.temp_name = old_record.temp_name;
        new_file_record.partner = old_name;
        new_name = record_name(*id);
        return {};
    };
    Result<ByteFile> fresh = target.folder.create_nameless();
    const bool named = !fresh;
    if (named) {
        if (fresh.error().number != EOPNOTSUPP) return fresh.error();
        if (Status written = folder->write(old_name, encode_record(old_record)); !written)
            return written;
        fresh = target.folder.create_named(old_record.temp_name);
        if (!fresh) return give_up(fresh.error());
        Status recorded = name_new(*fresh);
        if (recorded) recorded = folder->write(new_name, encode_record(new_file_record));
        if (!recorded) return give_up(std::move(recorded));
    }
    // Locked before it takes the file's place: an edit waiting for the old
    // file goes on with this one only once this edit is over.
    Status ready = lock_file(*fresh, edit_lock_wait_ms);
    if (ready) ready = fill(*fresh, file, edit, tail_from);
    if (ready) ready = copy_metadata(file, *fresh);
    if (ready) ready = fresh->sync();
    if (ready && !named) {
        ready = name_new(*fresh);
        old_record.partner = new_name;
        if (ready) ready = folder->write(old_name, encode_record(old_record));
        if (ready) ready = folder->write(new_name, encode_record(new_file_record));
        if (ready) ready = target.folder.link_file(*fresh, old_record.temp_name);
    }
    if (ready) ready = target.folder.rename_over(old_record.temp_name, target.name);
    if (!ready) return give_up(std::move(ready));
    file = std::move(*fresh);
    // The old file is gone with the name: the records go too, the old
    // file's first (the new file's leads to it).
    Status done = target.folder.sync();
    if (done) done = folder->remove(old_name);
    if (done) done = folder->remove(new_name);
    return done;
}

}  // namespace

Status leads_to_mp3_name(const std::string& path) {
    const Result<FileLocation> where = locate_file(path);
    if (!where) return where.error();
    std::string extension =
        where->name.substr(where->name.size() - std::min<std::size_t>(4, where->name.size()));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".mp3") return {};
    return SystemError{EINVAL, "not an .mp3 name"};
}

Result<Recovery> recover_file_edit(ByteFile& file, const std::string& path) {
    const Result<Target> target = lock_target(file, path, true);
    if (!target) return target.error();
    return recover(file, *target);
}

bool has_unfinished_edit(const ByteFile& file) {
    const Result<FileId> id = file_id_of(file);
    if (!id) return false;
    const auto bound = [&id](const std::optional<std::string>& bytes) {
        const std::optional<EditRecord> record = bytes ? decode_record(*bytes) : std::nullopt;
        return record && same_recorded_file(record->file, *id);
    };
    if (bound(read_attribute(file, undo_attribute))) return true;
    const Result<RecoveryFolder> folder = RecoveryFolder::open(false);
    return folder && bound(folder->read(record_name(*id)));
}

namespace {

Status commit(ByteFile& file, const std::string& path, const FileEdit& edit) {
    const Result<Target> target = lock_target(file, path, false);
    if (!target) return target.error();
    if (const Result<Recovery> recovered = recover(file, *target); !recovered)
        return recovered.error();
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    // A tag that claims more than the file takes all of it.
    FileEdit bounded = edit;
    bounded.cut = std::min(edit.cut, *length);
    const std::uint64_t tail_from = edit.tail_from.value_or(*length);
    if (bounded.cut > tail_from || tail_from > *length)
        return SystemError{EINVAL, "the edit's pieces overlap"};
    if (bounded.head.size() == bounded.cut)
        return patch(file, *target, bounded, *length, tail_from);
    if (target->info.links > 1) return copy_into_place(file, *target, bounded, *length, tail_from);
    return rename_into_place(file, *target, bounded, tail_from);
}

}  // namespace

Status commit_file_edit(ByteFile& file, const std::string& path, const FileEdit& edit) {
    return commit(file, path, edit);
}

}  // namespace varnel
