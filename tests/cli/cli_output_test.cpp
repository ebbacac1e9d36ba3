// SPDX-License-Identifier: GPL-3.0-or-later
// When printed records leave the stream's buffer.
#include "cli/cli_output.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace varnel::cli {
namespace {

// A string buffer that counts how often it is flushed.
class CountingBuffer : public std::stringbuf {
public:
    int flushes = 0;

protected:
    int sync() override {
        ++flushes;
        return std::stringbuf::sync();
    }
};

TEST(RecordPrinter, FlushesEachRecordOnlyForATerminal) {
    const Codec codec;
    struct Case {
        bool terminal;
        bool null_data;
        int flushes_while_printing;
        std::string printed;
    };
    const std::string nul(1, '\0');
    for (const Case& c :
         {Case{true, false, 3, "a\tb\na\tb\na\tb\n"},
          Case{true, true, 3,
               "a" + nul + "b" + nul + "a" + nul + "b" + nul + "a" + nul + "b" + nul},
          Case{false, false, 0, "a\tb\na\tb\na\tb\n"},
          Case{false, true, 0,
               "a" + nul + "b" + nul + "a" + nul + "b" + nul + "a" + nul + "b" + nul}}) {
        CountingBuffer buffer;
        std::ostream out(&buffer);
        {
            RecordPrinter printer(out, codec, c.null_data, c.terminal);
            for (int i = 0; i < 3; ++i) printer.print({"a", "b"});
            EXPECT_EQ(buffer.flushes, c.flushes_while_printing) << c.terminal << c.null_data;
        }
        EXPECT_EQ(buffer.flushes, c.flushes_while_printing + 1) << "flushed at the end";
        EXPECT_EQ(buffer.str(), c.printed);
    }
}

// Through a pipe, a batch's records leave by the clock: none within the
// first interval, all at the end.
TEST(RecordPrinter, ElsewhereFlushesOnlyWhenTheIntervalHasPassed) {
    const Codec codec;
    CountingBuffer buffer;
    std::ostream out(&buffer);
    {
        RecordPrinter printer(out, codec, false, false, std::chrono::hours(1));
        for (int i = 0; i < 1000; ++i) printer.print({"name", "new name"});
        EXPECT_EQ(buffer.flushes, 0);
    }
    EXPECT_EQ(buffer.flushes, 1);
    EXPECT_EQ(buffer.str().size(), 1000 * std::string("name\tnew name\n").size());

    CountingBuffer slow;
    std::ostream slow_out(&slow);
    RecordPrinter printer(slow_out, codec, false, false, std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    printer.print({"after", "a pause"});
    EXPECT_EQ(slow.flushes, 1) << "a record printed after the interval leaves at once";
}

}  // namespace
}  // namespace varnel::cli
