// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/fix_names.h"

#include <gtest/gtest.h>

#include "filelist/item_names.h"
#include "rename/batch_texts.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

TEST(FixNames, LegacyNamesGetTheirUtf8SpellingAndUndoBringsTheBytesBack) {
    test::TempDir dir;
    const std::string gbk = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3 in GBK bytes
    const std::string utf8 = "你好.mp3";
    const std::string latin1 = "caf\xE9.txt";  // not code-page text either
    const std::string taken = "\xCE\xC4.txt";  // 文.txt, whose UTF-8 name exists
    for (const std::string& name :
         {gbk, std::string("plain.txt"), latin1, taken, std::string("文.txt")})
        dir.write_file(name, name);
    const Codec codec;
    FileList list;
    list.append_items(item_folder_from_fs(dir.path() + "/", codec),
                      item_names_from_fs({gbk, "plain.txt", latin1, taken}, codec));
    UndoLog log;
    const std::vector<int> rows = {0, 1, 2, 3};
    const BatchOutcome done = respell_names_in_utf8(list, rows, log, codec, {});
    EXPECT_EQ(done.successes, 2);
    EXPECT_EQ(list.fs_name(0), utf8);
    EXPECT_EQ(dir.read_file(utf8), gbk);
    EXPECT_EQ(list.get_cell(1, Column::rename_status), texts::rename_succeeded());
    EXPECT_EQ(list.fs_name(2), latin1);
    EXPECT_FALSE(list.status_reason(2).empty());
    EXPECT_EQ(dir.read_file(taken), taken);  // never replaced
    EXPECT_EQ(dir.read_file("文.txt"), "文.txt");

    EXPECT_TRUE(undo_rename(list, log, codec, {}).all_succeeded());
    EXPECT_EQ(dir.read_file(gbk), gbk);
    EXPECT_EQ(list.fs_name(0), gbk);
}

}  // namespace
}  // namespace varnel
