// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_help_texts.h"

namespace varnel::cli::help_zh {

const char* const rule =
    R"TEXT(
每个 FILE 是一个路径：它所在的文件夹是条目的文件夹，最后一段是原文件名。
--files-from LIST 在命令行上的路径之后加入文件 LIST 中的路径，一行一个
（"-" 读标准输入）。preview 为每个条目打印 "原名<TAB>新名"，文件不必存在。
rename 在各自的文件夹里给每个文件更名，决不替换别的文件；每完成一个条目就
打印 "状态<TAB>原名<TAB>新名"，最后打印总结；失败的状态带有系统给出的原因，
如 "更名失败 (Permission denied)"。--journal JFILE 在每次更名之前把这批
更名记入 JFILE，即使程序中途崩溃，undo 也能撤消它；JFILE 必须是新文件、
空文件或以前的撤消记录。不给 --journal 时，这批更名记入
$XDG_STATE_HOME/varnel/journals/（默认 ~/.local/state/varnel/journals/，
保留最近 20 批）中的自动撤消记录，undo --last 会找到它；--no-journal
不做记录。-n（--dry-run）打印 preview 所打印的内容，什么也不更名；
-q（--quiet）不为每个条目打印一行，只打印失败的条目和总结。--order smart
按一种能让链（a→b 同时 b→c）和交换或环（a↔b）成功的顺序更名：文件系统
支持时（ext4、tmpfs、btrfs、xfs、f2fs）原子地交换名称，否则经过临时名称
".varnel-swap-…"，失败的步骤的状态会写出这个名称；默认的 in-order 逐行
更名。正在执行的一批更名锁住它的撤消记录：用同一记录的第二次撤消或更名会
被拒绝，并显示 "另一个Varnel正在执行这批更名"。

打印名称时，控制字符、TAB、换行和反斜杠按 C 的写法转义（\t、\n、\\、
\033）。-0（--null）：LIST 中的路径以 NUL 字节结尾，打印的每个字段也以
NUL 字节结尾（名称不转义，是文件系统中的原样字节），总结则打印到标准错误。

文本按程序的代码页（GB18030）处理：位置和位数按它的字节计算，一个汉字算
两个。数字 N 是整数（可带 "-"，其余为 ASCII 数字），字符数不超过窗口中
对应输入框所能容纳的：--start 8 个，--step 6 个，位数和位置 3 个；
其他的值一律拒绝（退出状态 2）。

RULE number（编号；方括号内为默认值）：
  --scope name|ext|all  [name]     --start N [0]   --step N [1]
  --prefix T --body T --digits N [1] --suffix T
  --ext-prefix T --ext T --ext-digits N [空] --ext-suffix T
RULE replace（查找替换；--with 为空即删除）：
  --find T --with T --case-sensitive --scope name|ext|all [name]
  --regex  --find 的 T 是在 Unicode 文本上匹配的正则表达式（PCRE2）；
           --with 可以用 $1、${name}、$$（表达式中没有的组或单独的 $
           会被拒绝）。磁盘上超过 255 字节的新名称以 名称过长 失败；每批
           匹配最多用 2 秒，之后剩下的名称以 正则表达式超出限制 失败
RULE insert：
  --text T --at N|end [1] --ext-text T --ext-at N|end [1]
  --same   扩展名的插入文本与文件名的相同
RULE case：
  --name upper|lower|first-upper|first-lower|title [upper]
  --ext（同样的词）[upper]
           title：每个单词首字母大写，其余字母小写（ASCII 和 ASCII 以外的
           拉丁字母；汉字不变）
RULE tags（按 ID3 标签给 MP3 文件命名；写过标签状态的条目多一个字段，
显示 无标签 / 非MP3文件）：
  --template T   占位符 #1 艺术家、#2 标题、#3 专辑、#4 音轨、#5 年份、
                 #6 流派（最多 50 字节）
  --prefer v1|v2 [v2]   先读哪个标签
  --all-formats  也按艺术家、标题、专辑、音轨、年份和流派给 FLAC、Ogg、Opus、
                 M4A/MP4、APE、WavPack、Musepack、WMA/ASF、AIFF、WAV 和 DSF
                 文件命名（后接小写的扩展名）；这时只有不属于其中任何一种的
                 文件才是 非MP3文件
RULE chain（一批中依次应用几条规则：每一步看到的是上一步得出的名称；每个
文件只更名一次，直接改为最后的名称，整批用一次撤消即可恢复）：
  --step 'RULE OPTIONS'  一步：上面的一条规则和它的选项，写成一个词（其中
                 ' 和 " 括住空白，\ 使下一个字符按原样使用）；可以多次给出，
                 按给出的顺序执行
  --preset PFILE  Varnel 保存的预设中的规则或规则链，在 --step 的各步之前
                 执行；"preview --preset PFILE FILE..." 不必写 chain。有错
                 的步骤或预设会被拒绝（退出状态 2）并说明原因，什么也不更名
)TEXT";

const char* const fix_names =
    R"TEXT(
fix-names 把名称不是 UTF-8（旧的 GBK 名称）的每个 FILE 改成同一文本的
UTF-8 写法，决不替换别的文件，并像 rename 一样为每个文件打印
"状态<TAB>原名<TAB>新名"（-0/--null、--files-from、--journal、--no-journal
和 -q/--quiet 同 rename）。已是 UTF-8 的名称不动；
也不是 GBK 的名称则失败。
)TEXT";

const char* const undo =
    R"TEXT(
undo 把 JFILE 记录的这批更名的文件改回原名（--last：历史中尚未撤消的
最新一批，更名或标签都算；N：undo --list 编号为 N 的那一批，1 为最新），
从最后一次更名开始，为每个文件打印 "状态<TAB>当前名<TAB>恢复名" 并打印
总结（标签批：每个文件打印 "状态<TAB>文件"，标签逐字节恢复）。已经
回到原名的文件算作已恢复；在 inode 号码持久的文件系统上按 inode 识别文件，
在 FAT 和 exFAT 上按大小和内容指纹识别，所以放在原处的别的文件决不会被
更名。不是本用户的普通文件或格式不对的撤消记录会被拒绝（退出状态 2），
并说明原因；别人也能写入的记录（如 FAT 或 exFAT 优盘上的）只有在它记录的
每个文件都位于记录所在驱动器上、人人都能修改的文件夹中时才被信任。批量
更名仍在进行的记录（另一个 Varnel 持有它的锁）不会被处理，并显示
"另一个Varnel正在执行这批更名"（退出状态 2）。undo --list 从新到旧打印
撤消历史（本程序和窗口最近 20 批更名和标签操作），一行一个：
"N<TAB>时间<TAB>种类<TAB>状态<TAB>文件数<TAB>记录"，种类为 rename 或 tags，
状态为 finished、interrupted、undone、busy 或 refused。undo --tags 撤消
尚未撤消的最新一批标签操作。
)TEXT";

const char* const tag =
    R"TEXT(
  varnel-cli tag FILE [--set-v1 FIELD=VALUE]... [--set-v2 FIELD=VALUE]...
                      [--remove-v1] [--remove-v2] [--v2-encoding gbk|unicode]
                      [--drop-unconvertible]
像标签窗口的 更新 一样先写入要求的内容，再以 v1.FIELD=VALUE 和
v2.FIELD=VALUE 行打印两个标签（没有标签时打印 v1=none 或 v2=none）。
FIELD 是 title artist album track year genre comment composer
original_artist copyright url encoder 之一（ID3v1 只有前七个；它的 genre
是 0..255 的数或流派名称，track 是整数）。写入之前检查每个字段和值。
ID3v2 标签保留没有设置的每个帧和文本；设置的文本以代码页（gbk，默认）或
UTF-16（unicode）写入。含有无法保留的帧（压缩、加密或没有 ID3v2.3 形式）
的标签，除非给出 --drop-unconvertible，否则不写入。
)TEXT";

const char* const fix_tags =
    R"TEXT(
fix-tags 把每个 MP3 文件 FILE 中以编码 0 存放的代码页（GBK）字节的
ID3v2 文本——文本帧、TXXX、COMM、USLT 和 WXXX 的描述——改写为带字节序
标记的 UTF-16，让其他播放器都能正确显示。其他帧和音频都保留（标签放得下时
就地改写，否则经过安全的整个文件重写）。--add-v2-from-v1 给只有 ID3v1
标签的文件加上由它的字段做成的 ID3v2 标签（UTF-16）。--dry-run 什么也不写。
每个改动的文本打印 "状态<TAB>文件<TAB>帧<TAB>改前<TAB>改后<TAB>改动"，
不需改动或失败（原因在括号中）的文件打印字段为空的 "状态<TAB>文件"，最后
打印总结；-0 和 --files-from 同 rename。含有无法保留的帧的标签不改动。
每个文件写入之前，它原来的 ID3v2 标签记入标签的撤消记录，undo --tags 可以
把它放回；撤消记录无法建立时什么也不写（退出状态 2），--no-journal 不做记录
而转换。
)TEXT";

const char* const tags_from_names =
    R"TEXT(
tags-from-names 按音频文件（MP3 和 --all-formats 的各种格式）的名称设置
标签：把 --template 的模板 T（占位符同 tags 规则）与每个主文件名对照，
占位符之间的文字用来分隔字段，所以 "#1 - #2" 让 "歌手 - 歌名.mp3" 的
艺术家为 歌手、标题为 歌名。与模板不符的名称什么也不改，打印为
"不匹配 (原因)<TAB>文件"。-n（--dry-run）为每个字段打印
"文件<TAB>字段<TAB>原文字<TAB>新文字"，什么也不写；否则先把每个文件原来的
标签区域记入撤消历史中的一份记录（见 undo --list），再一步安全地写入，
为每个文件打印 "状态<TAB>文件"，最后打印总结（-q：不打印）。undo --tags
把这批的每个标签逐字节地恢复；之后又被改动过的文件会被拒绝并说明原因。
-0 和 --files-from 同 rename。
)TEXT";

const char* const status =
    R"TEXT(
退出状态：所有条目都成功时为 0，有条目失败时为 1，用法错误或撤消记录被
拒绝（什么也没有更名）时为 2。
)TEXT";

}  // namespace varnel::cli::help_zh
