// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/tag_fix_texts.h"

#include "platform/language.h"

namespace varnel::texts {

const std::string& will_convert() {
    return code_page("将转换");
}

const std::string& converted() {
    return code_page("已转换");
}

const std::string& will_add_v2() {
    return code_page("将添加ID3v2标签");
}

const std::string& added_v2() {
    return code_page("已添加ID3v2标签");
}

const std::string& nothing_to_convert() {
    return code_page("无需转换");
}

const std::string& fix_failed() {
    return code_page("转换失败");
}

const std::string& not_mp3() {
    return say("不是MP3文件", "not an MP3 file");
}

const std::string& frames_kept_back() {
    return say("含无法保留的帧:", "holds frames that cannot be kept:");
}

const std::string& encoding_change() {
    return say("编码0 (GBK) → 编码1 (UTF-16)", "encoding 0 (GBK) → encoding 1 (UTF-16)");
}

const std::string& v1_to_v2() {
    return code_page("ID3v1 → ID3v2 (UTF-16)");
}

const std::string& files_word() {
    return say("个文件", "files");
}

const std::string& failed_word() {
    return say("失败", "failed");
}

const std::string& separator() {
    return say("，", ", ");
}

const std::string& fix_title() {
    return say("标签转为Unicode", "Tags to Unicode");
}

}  // namespace varnel::texts
