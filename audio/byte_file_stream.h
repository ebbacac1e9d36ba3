// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only TagLib stream over a file the platform layer opened: TagLib
// then never opens the file itself (so a FIFO never blocks it) and reads
// through the same positioned reads as the rest of the program.

#include <string>

#include <taglib/tiostream.h>

#include "platform/byte_file.h"

namespace varnel {

class ByteFileStream final : public TagLib::IOStream {
public:
    // `name` is the path TagLib sees (it picks a format by its extension).
    ByteFileStream(ByteFile& file, std::string name);

    TagLib::FileName name() const override { return name_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return position_; }
    long length() override { return length_; }
    void truncate(long) override {}

private:
    ByteFile& file_;
    std::string name_;
    long position_ = 0;
    long length_ = 0;
};

}  // namespace varnel
