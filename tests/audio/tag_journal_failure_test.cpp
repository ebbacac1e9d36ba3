// SPDX-License-Identifier: GPL-3.0-or-later
// A tag journal the system will not let grow or go away: the file's outcome
// names the journal and the system's reason, and the file stays untouched.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "audio/batch_tag_edit.h"
#include "audio/tag_fix_journal.h"
#include "audio/tag_journal.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "support/child_process.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::in_child;
using test::nobody;

constexpr int skipped = 254;

// Fills the file system of `folder` until it has no room left.
bool fill(const std::string& folder) {
    const int fd = ::open((folder + "filler").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

class TagJournalFailureTest : public ::testing::Test {
protected:
    std::string at(const std::string& name) const { return dir_.path() + name; }

    // Runs `body` in a child after `prepare` (false: the case is skipped),
    // and gives the text it wrote to the file "said", or nullopt when skipped.
    std::optional<std::string> said_in_child(const std::function<bool()>& prepare,
                                             const std::function<std::string()>& body) const {
        const int code = in_child([&] {
            // Opened before `prepare`, which may give up the right to write here.
            const int out = ::open(at("said").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out < 0 || !prepare()) return skipped;
            const std::string text = body();
            return ::write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0
                                                                                               : 1;
        });
        if (code == skipped) return std::nullopt;
        EXPECT_EQ(code, 0);
        return dir_.read_file("said");
    }

    test::TempDir dir_;
    // A title of several KiB in code-page bytes (which 标签转为Unicode
    // converts): its record needs room beyond the journal's first page.
    const std::string old_ = [] {
        std::string title;
        for (int i = 0; i < 1000; ++i) title += Codec().from_utf8_lossy("旧标题");
        return test::id3v2_tag(test::text_frame("TIT2", title)) + test::fake_audio(3000);
    }();
};

// The reason a journaled edit of the file at `path` failed with, by the two
// ways that keep a journal: a batch tag edit and 标签转为Unicode.
std::string batch_edit_reason(const std::string& path, TagJournal& journal) {
    TagEditRequest request;
    request.fields[0] = "New";
    const TagEditOutcome outcome = edit_file_tags(path, request, Codec(), &journal);
    return outcome.status == TagEditStatus::failed ? outcome.reason : std::string("not failed");
}

std::string fix_reason(const std::string& path, TagJournal& journal) {
    TagFixJournal recorder(journal);
    const TagFileFix fix = fix_tag_file(path, Codec(), false, true, &recorder);
    return fix.outcome.result.ok ? std::string("not failed") : fix.reason;
}

// The record before the write cannot be appended: the edit does not
// happen, and the reason says it was the journal.
TEST_F(TagJournalFailureTest, AFileIsNotWrittenWhenItsRecordCannotBeAppended) {
    const std::string small = at("small/");
    ASSERT_EQ(::mkdir(small.c_str(), 0700), 0);
    dir_.write_file("song.mp3", old_);
    const struct {
        const char* what;
        std::string journal;
        std::function<bool()> prepare;       // in the child; false: skip
        std::function<bool()> after_create;  // in the child
        int error;
    } cases[] = {
        {"a journal on a full small tmpfs", small + "tags.journal",
         [&] {
             return ::unshare(CLONE_NEWNS) == 0 &&
                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") == 0;
         },
         [&] { return fill(small); }, ENOSPC},
        {"a file size limit", at("tags.journal"), [] { return true; },
         [] {
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit limit{4096, 4096};
             return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         EFBIG},
    };
    for (const auto& c : cases)
        for (const auto edit : {batch_edit_reason, fix_reason}) {
            SCOPED_TRACE(std::string(c.what) + (edit == fix_reason ? ", 标签转为Unicode" : ""));
            const std::optional<std::string> said = said_in_child(c.prepare, [&] {
                std::string reason;
                std::optional<TagJournal> journal = TagJournal::create(c.journal, reason);
                if (!journal) return "not created: " + reason;
                if (!c.after_create()) return std::string("not prepared");
                return edit(at("song.mp3"), *journal);
            });
            if (!said) continue;  // no tmpfs can be mounted here
            EXPECT_EQ(*said, say("不能写入标签撤消记录", "Cannot write the tag undo journal") +
                                 ": " + system_error_text(c.error));
            EXPECT_EQ(dir_.read_file("song.mp3"), old_);
        }
}

// A journal that recorded nothing is removed at its end; when its folder
// does not let this user remove it, the end says so and why.
TEST_F(TagJournalFailureTest, AnEmptyJournalThatCannotBeRemovedSaysWhy) {
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(at("locked").c_str(), 0755), 0);
    const std::string journal_path = at("locked/tags.journal");
    const std::optional<std::string> said = said_in_child(
        [] { return true; },
        [&] {
            std::string reason;
            std::optional<TagJournal> journal = TagJournal::create(journal_path, reason);
            if (!journal) return "not created: " + reason;
            if (::chmod(at("locked").c_str(), 0555) != 0) return std::string("not locked");
            if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
                return std::string("still root");
            const Status finished = journal->finish();
            return finished ? std::string("removed") : finished.error().text();
        });
    ASSERT_TRUE(said);
    EXPECT_EQ(*said, say("不能删除空的标签撤消记录", "Cannot remove the empty tag undo journal") +
                         ": " + system_error_text(EACCES));
    EXPECT_TRUE(dir_.exists("locked/tags.journal"));
    ASSERT_EQ(::chmod(at("locked").c_str(), 0755), 0);
}

}  // namespace
}  // namespace varnel
