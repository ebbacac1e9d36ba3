// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/byte_file_stream.h"

#include <algorithm>

#include "platform/tag_file_io.h"

namespace varnel {

ByteFileStream::ByteFileStream(ByteFile& file, std::string name)
    : file_(file), name_(std::move(name)) {
    length_ = static_cast<long>(file_.length().value_or(0));
}

TagLib::ByteVector ByteFileStream::readBlock(unsigned long length) {
    if (position_ >= length_) return {};
    const auto wanted =
        std::min<unsigned long>(length, static_cast<unsigned long>(length_ - position_));
    TagLib::ByteVector block(static_cast<unsigned int>(wanted), '\0');
    const Result<std::size_t> got =
        file_.read_at(block.data(), wanted, static_cast<std::uint64_t>(position_));
    if (!got) return {};  // TagLib takes a short read as the end of the file
    block.resize(static_cast<unsigned int>(*got));
    position_ += static_cast<long>(*got);
    return block;
}

void ByteFileStream::seek(long offset, Position p) {
    const long base = p == Beginning ? 0 : p == Current ? position_ : length_;
    position_ = std::max(0L, base + offset);
}

}  // namespace varnel
