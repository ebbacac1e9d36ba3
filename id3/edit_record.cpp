// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/edit_record.h"

#include <algorithm>
#include <cstdio>

namespace varnel {
namespace {

constexpr std::string_view magic = "VNLREC01";
constexpr std::size_t digest_size = 32;
constexpr std::uint64_t outside_size = 4096;

void put_u64(std::string& out, std::uint64_t value) {
    for (int shift = 56; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void put_digest(std::string& out, const Sha256Digest& digest) {
    out.append(reinterpret_cast<const char*>(digest.data()), digest.size());
}

void put_bytes(std::string& out, std::string_view bytes) {
    put_u64(out, bytes.size());
    out += bytes;
}

// Reads the fields of a record in order; any read past the end fails the
// whole reader.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool at_end() const { return bytes_.empty(); }

    std::uint64_t u64() {
        const std::string_view field = take(8);
        std::uint64_t value = 0;
        for (const char c : field) value = (value << 8) | static_cast<std::uint8_t>(c);
        return value;
    }
    Sha256Digest digest() {
        Sha256Digest digest{};
        const std::string_view field = take(digest_size);
        std::copy(field.begin(), field.end(), digest.begin());
        return digest;
    }
    std::string bytes() {
        const std::uint64_t size = u64();
        return std::string(take(size));
    }
    std::string_view take(std::uint64_t size) {
        if (!ok_ || size > bytes_.size()) {
            ok_ = false;
            return {};
        }
        const std::string_view field = bytes_.substr(0, static_cast<std::size_t>(size));
        bytes_.remove_prefix(static_cast<std::size_t>(size));
        return field;
    }

private:
    std::string_view bytes_;
    bool ok_ = true;
};

std::uint64_t region_end(const RecordRegion& region) {
    return region.offset + std::max(region.old_bytes.size(), region.new_bytes.size());
}

bool regions_fit(const EditRecord& record) {
    std::vector<RecordRegion> sorted = record.regions;
    std::sort(sorted.begin(), sorted.end(),
              [](const RecordRegion& a, const RecordRegion& b) { return a.offset < b.offset; });
    std::uint64_t covered = 0;
    for (const RecordRegion& region : sorted) {
        if (region.offset < covered) return false;
        if (region.offset + region.old_bytes.size() > record.old_length ||
            region.offset + region.new_bytes.size() > record.new_length)
            return false;
        covered = region_end(region);
    }
    return true;
}

}  // namespace

std::string record_name(const FileId& id) {
    char name[40];
    std::snprintf(name, sizeof name, "%llx-%llx", static_cast<unsigned long long>(id.device),
                  static_cast<unsigned long long>(id.inode));
    return name;
}

std::string encode_record(const EditRecord& record) {
    std::string out(magic);
    out += static_cast<char>(record.kind);
    put_u64(out, record.file.device);
    put_u64(out, record.file.inode);
    out += static_cast<char>(record.file.has_birth ? 1 : 0);
    put_u64(out, static_cast<std::uint64_t>(record.file.birth_sec));
    put_u64(out, record.file.birth_nsec);
    put_u64(out, record.old_length);
    put_u64(out, record.new_length);
    switch (record.kind) {
        case RecordKind::patch:
            put_u64(out, record.regions.size());
            for (const RecordRegion& region : record.regions) {
                put_u64(out, region.offset);
                put_digest(out, sha256(region.old_bytes));
                put_digest(out, sha256(region.new_bytes));
                put_bytes(out, region.old_bytes);
                put_bytes(out, region.new_bytes);
            }
            put_digest(out, record.outside);
            break;
        case RecordKind::copy:
            put_digest(out, record.new_file);
            put_u64(out, record.old_blocks.size());
            for (const Sha256Digest& block : record.old_blocks) put_digest(out, block);
            break;
        case RecordKind::temp:
            put_bytes(out, record.temp_name);
            put_bytes(out, record.partner);
            break;
    }
    put_digest(out, sha256(out));
    return out;
}

std::optional<EditRecord> decode_record(std::string_view bytes) {
    if (bytes.size() < magic.size() + digest_size || !bytes.starts_with(magic)) return std::nullopt;
    const std::string_view body = bytes.substr(0, bytes.size() - digest_size);
    const Sha256Digest digest = sha256(body);
    if (!std::equal(digest.begin(), digest.end(),
                    reinterpret_cast<const std::uint8_t*>(bytes.data() + body.size())))
        return std::nullopt;
    Reader in(body.substr(magic.size()));
    EditRecord record;
    const std::string_view kind = in.take(1);
    if (!in.ok() || kind[0] < 1 || kind[0] > 3) return std::nullopt;
    record.kind = static_cast<RecordKind>(kind[0]);
    record.file.device = in.u64();
    record.file.inode = in.u64();
    record.file.has_birth = in.take(1) == std::string_view("\1", 1);
    record.file.birth_sec = static_cast<std::int64_t>(in.u64());
    record.file.birth_nsec = static_cast<std::uint32_t>(in.u64());
    record.old_length = in.u64();
    record.new_length = in.u64();
    switch (record.kind) {
        case RecordKind::patch: {
            const std::uint64_t count = in.u64();
            for (std::uint64_t i = 0; in.ok() && i < count; ++i) {
                RecordRegion region;
                region.offset = in.u64();
                const Sha256Digest old_hash = in.digest();
                const Sha256Digest new_hash = in.digest();
                region.old_bytes = in.bytes();
                region.new_bytes = in.bytes();
                if (!in.ok() || sha256(region.old_bytes) != old_hash ||
                    sha256(region.new_bytes) != new_hash)
                    return std::nullopt;
                record.regions.push_back(std::move(region));
            }
            record.outside = in.digest();
            if (!regions_fit(record)) return std::nullopt;
            break;
        }
        case RecordKind::copy: {
            record.new_file = in.digest();
            const std::uint64_t count = in.u64();
            if (count != copy_pieces(record.old_length, record.new_length).size())
                return std::nullopt;
            for (std::uint64_t i = 0; in.ok() && i < count; ++i)
                record.old_blocks.push_back(in.digest());
            break;
        }
        case RecordKind::temp:
            record.temp_name = in.bytes();
            record.partner = in.bytes();
            for (const std::string& name : {record.temp_name, record.partner})
                if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos ||
                    name == "." || name == "..")
                    return std::nullopt;
            if (record.temp_name.empty()) return std::nullopt;
            break;
    }
    if (!in.ok() || !in.at_end()) return std::nullopt;
    return record;
}

bool same_recorded_file(const FileId& recorded, const FileId& now) {
    if (recorded.device != now.device || recorded.inode != now.inode) return false;
    if (!recorded.has_birth) return true;
    return now.has_birth && recorded.birth_sec == now.birth_sec &&
           recorded.birth_nsec == now.birth_nsec;
}

RegionState region_state(std::string_view current, const RecordRegion& region) {
    const std::string_view old_bytes = region.old_bytes;
    const std::string_view new_bytes = region.new_bytes;
    if (current == new_bytes) return RegionState::new_bytes;
    if (current == old_bytes) return RegionState::old_bytes;
    // A torn write: as long as one side or the other, or between them
    // where the region grows or shrinks the file, and every byte from one
    // side or the other.
    const std::size_t shorter = std::min(old_bytes.size(), new_bytes.size());
    const std::size_t longer = std::max(old_bytes.size(), new_bytes.size());
    if (current.size() < shorter || current.size() > longer) return RegionState::foreign;
    for (std::size_t i = 0; i < current.size(); ++i) {
        const bool from_old = i < old_bytes.size() && current[i] == old_bytes[i];
        const bool from_new = i < new_bytes.size() && current[i] == new_bytes[i];
        if (!from_old && !from_new) return RegionState::foreign;
    }
    return RegionState::torn;
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> outside_pieces(
    const std::vector<RecordRegion>& regions, std::uint64_t limit) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> gaps;
    std::vector<RecordRegion> sorted = regions;
    std::sort(sorted.begin(), sorted.end(),
              [](const RecordRegion& a, const RecordRegion& b) { return a.offset < b.offset; });
    std::uint64_t at = 0;
    std::uint64_t total = 0;
    for (const RecordRegion& region : sorted) {
        const std::uint64_t begin = std::min(region.offset, limit);
        if (begin > at) {
            gaps.emplace_back(at, begin - at);
            total += begin - at;
        }
        at = std::max(at, std::min(region_end(region), limit));
    }
    if (limit > at) {
        gaps.emplace_back(at, limit - at);
        total += limit - at;
    }
    if (total <= 2 * outside_size) return gaps;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> pieces;
    std::uint64_t wanted = outside_size;
    for (const auto& [offset, length] : gaps) {
        if (wanted == 0) break;
        pieces.emplace_back(offset, std::min(length, wanted));
        wanted -= pieces.back().second;
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> last;
    wanted = outside_size;
    for (auto gap = gaps.rbegin(); gap != gaps.rend() && wanted > 0; ++gap) {
        const std::uint64_t take = std::min(gap->second, wanted);
        last.emplace_back(gap->first + gap->second - take, take);
        wanted -= take;
    }
    pieces.insert(pieces.end(), last.rbegin(), last.rend());
    return pieces;
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> copy_pieces(std::uint64_t length,
                                                                 std::uint64_t new_length) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> pieces;
    for (std::uint64_t at = 0; at < length;) {
        std::uint64_t end = std::min(length, (at / record_block + 1) * record_block);
        if (at < new_length && new_length < end) end = new_length;
        pieces.emplace_back(at, end - at);
        at = end;
    }
    return pieces;
}

}  // namespace varnel
