// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/unique_fd.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/eintr.h"
#include "platform/error_text.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class UniqueFdTest : public testing::Test {
protected:
    UniqueFd open_file(const std::string& content, int flags) {
        const std::string path = dir_.path() + "f";
        {
            const UniqueFd writer(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
            EXPECT_TRUE(writer.write_at(content.data(), content.size(), 0));
        }
        return UniqueFd(::open(path.c_str(), flags));
    }

    static bool is_open(int fd) { return fcntl(fd, F_GETFD) != -1; }

    test::TempDir dir_;
};

TEST_F(UniqueFdTest, ReadsAndWritesAtOffsetsWithoutMovingThePosition) {
    const UniqueFd fd = open_file("0123456789", O_RDWR);
    ASSERT_TRUE(fd.valid());
    ASSERT_TRUE(fd.write_at("ab", 2, 4));
    std::string got(20, '\0');
    const Result<std::size_t> count = fd.read_at(got.data(), got.size(), 2);
    ASSERT_TRUE(count);
    EXPECT_EQ(got.substr(0, *count), "23ab6789");  // fewer only where the file ends
    EXPECT_EQ(lseek(fd.get(), 0, SEEK_CUR), 0);
    EXPECT_TRUE(fd.sync());
    EXPECT_TRUE(fd.sync_data());
}

struct FailureCase {
    const char* what;
    int flags;
    bool write;
    std::uint64_t offset;
    int error;
};

class UniqueFdFailure : public UniqueFdTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(UniqueFdFailure, KeepsTheErrnoAndWhatWasDone) {
    const FailureCase& c = GetParam();
    const UniqueFd fd = open_file("abc", c.flags);
    char buffer[4] = {};
    if (c.write) {
        const Status written = fd.write_at("x", 1, c.offset);
        ASSERT_FALSE(written);
        EXPECT_EQ(written.error().number, c.error);
        EXPECT_EQ(written.error().context, "write");
    } else {
        const Result<std::size_t> read = fd.read_at(buffer, sizeof buffer, c.offset);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().number, c.error);
        EXPECT_EQ(read.error().context, "read");
    }
    EXPECT_EQ(errno, c.error);
}

constexpr std::uint64_t past_off_t =
    static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) - 1;

INSTANTIATE_TEST_SUITE_P(
    Cases, UniqueFdFailure,
    testing::Values(FailureCase{"write_to_read_only", O_RDONLY, true, 0, EBADF},
                    FailureCase{"read_from_write_only", O_WRONLY, false, 0, EBADF},
                    FailureCase{"write_past_largest_offset", O_RDWR, true, past_off_t, EFBIG},
                    FailureCase{"read_past_largest_offset", O_RDWR, false, past_off_t, EFBIG}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

TEST_F(UniqueFdTest, ClosesOnceWhenMovedAndDestroyed) {
    UniqueFd first = open_file("abc", O_RDONLY);
    const int number = first.get();
    {
        UniqueFd second = std::move(first);
        EXPECT_FALSE(first.valid());  // a moved-from descriptor owns nothing
        EXPECT_TRUE(is_open(number));
        UniqueFd third;
        third = std::move(second);
        EXPECT_TRUE(is_open(number));
    }
    EXPECT_FALSE(is_open(number));
}

TEST_F(UniqueFdTest, MoveAssignmentClosesTheDescriptorItReplaces) {
    UniqueFd kept = open_file("abc", O_RDONLY);
    UniqueFd replaced = open_file("abc", O_RDONLY);
    const int replaced_number = replaced.get();
    replaced = std::move(kept);
    EXPECT_FALSE(is_open(replaced_number));
    EXPECT_TRUE(is_open(replaced.get()));
}

TEST(RetryOnEintr, CallsAgainOnlyWhileInterrupted) {
    struct Case {
        int failures_first;  // interrupted calls before the last one
        int last_errno;      // 0: the last call succeeds
        int calls;
        int result;
    };
    for (const Case& c :
         {Case{0, 0, 1, 7}, Case{2, 0, 3, 7}, Case{0, EIO, 1, -1}, Case{3, EIO, 4, -1}}) {
        int calls = 0;
        const int result = retry_on_eintr([&] {
            ++calls;
            if (calls <= c.failures_first) {
                errno = EINTR;
                return -1;
            }
            if (c.last_errno != 0) {
                errno = c.last_errno;
                return -1;
            }
            return 7;
        });
        EXPECT_EQ(calls, c.calls) << c.failures_first << ' ' << c.last_errno;
        EXPECT_EQ(result, c.result) << c.failures_first << ' ' << c.last_errno;
    }
}

TEST(SystemError, TextNamesWhatWasDoneAndTheReason) {
    EXPECT_EQ((SystemError{ENOENT, "open /a"}.text()), "open /a: " + system_error_text(ENOENT));
    EXPECT_EQ((SystemError{EACCES, ""}.text()), system_error_text(EACCES));
}

}  // namespace
}  // namespace varnel
