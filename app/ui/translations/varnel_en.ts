<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>LanguageChoice</name>
    <message>
        <source>自动</source>
        <translation>Automatic</translation>
    </message>
</context>
<context>
    <name>varnel::AboutDialog</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>文件批量更名器</source>
        <translation>Batch file renamer</translation>
    </message>
    <message>
        <source>软件名称：%1 文件批量更名器</source>
        <translation>Name: %1 batch file renamer</translation>
    </message>
    <message>
        <source>版本：%1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>访问官方网站</source>
        <translation>Visit the website</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>本程序的更新由系统的软件包管理器提供</source>
        <translation>Updates of this program come from the system&apos;s package manager</translation>
    </message>
    <message>
        <source>信息：</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>是否下载最新版？</source>
        <translation>Download the latest version?</translation>
    </message>
    <message>
        <source>没有可用更新</source>
        <translation>No update available</translation>
    </message>
</context>
<context>
    <name>varnel::FilterDialog</name>
    <message>
        <source>请选择操作方式！</source>
        <translation>Please choose an operation!</translation>
    </message>
    <message>
        <source>扩展名不能空！</source>
        <translation>The extension cannot be empty!</translation>
    </message>
    <message>
        <source>&apos;包含内容&apos;不能空！</source>
        <translation>&apos;Contained text&apos; cannot be empty!</translation>
    </message>
    <message>
        <source>过滤设置</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>操作方式：</source>
        <translation>Operation:</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>保留</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>扩展名</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>包含内容</source>
        <translation>Contained text</translation>
    </message>
    <message>
        <source>过滤完成后关闭对话框</source>
        <translation>Close this window when done</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>varnel::SettingsDialog</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>自动预览</source>
        <translation>Automatic preview</translation>
    </message>
    <message>
        <source>预览的项目数：</source>
        <translation>Items to preview:</translation>
    </message>
    <message>
        <source>预览全部</source>
        <translation>Preview all</translation>
    </message>
    <message>
        <source>预览框背景的颜色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>预览框字体的颜色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>预览框字体的大小</source>
        <translation>List font</translation>
    </message>
    <message>
        <source>字体...</source>
        <translation>Font...</translation>
    </message>
    <message>
        <source>ID3v2文字编码</source>
        <translation>ID3v2 encoding</translation>
    </message>
    <message>
        <source>冲突处理</source>
        <translation>Name clashes</translation>
    </message>
    <message>
        <source>按顺序</source>
        <translation>In order</translation>
    </message>
    <message>
        <source>智能顺序</source>
        <translation>Smart order</translation>
    </message>
    <message>
        <source>标签中的/换为</source>
        <translation>/ in tags becomes</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>下次启动时生效</source>
        <translation>Takes effect at the next start</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>界面语言的更改在下次启动时生效。</source>
        <translation>The new language takes effect at the next start.</translation>
    </message>
</context>
<context>
    <name>varnel::TagDialog</name>
    <message>
        <source>MP3标签信息</source>
        <translation>MP3 tags</translation>
    </message>
    <message>
        <source>文件：</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>ID3v1 复制到 ID3v2</source>
        <translation>Copy ID3v1 to ID3v2</translation>
    </message>
    <message>
        <source>ID3v2 复制到 ID3v1</source>
        <translation>Copy ID3v2 to ID3v1</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ID3v1 标签</source>
        <translation>ID3v1 tag</translation>
    </message>
    <message>
        <source>音轨 #</source>
        <translation>Track #</translation>
    </message>
    <message>
        <source>歌曲名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>艺术家</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>专辑</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>年代</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>流派</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>注释</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>ID3v2 标签</source>
        <translation>ID3v2 tag</translation>
    </message>
    <message>
        <source>版权</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>作曲家</source>
        <translation>Composer</translation>
    </message>
    <message>
        <source>原创者</source>
        <translation>Orig. artist</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>编码者</source>
        <translation>Encoded by</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>打开文件：%1失败！</source>
        <translation>Cannot open the file %1!</translation>
    </message>
    <message>
        <source>上一次的标签修改没有完成：%1
更新时将完成它。</source>
        <translation>The last tag edit of %1 was not finished.
Update will finish it.</translation>
    </message>
    <message>
        <source>文件正被另一个程序修改</source>
        <translation>Another program is changing the file</translation>
    </message>
    <message>
        <source>Kelto批量更名器</source>
        <translation>Kelto Batch Renamer</translation>
    </message>
    <message>
        <source>ID3v2标签中有无法保留的帧：%1
更新将删除这些帧。是否继续？</source>
        <translation>The ID3v2 tag has frames that cannot be kept:%1
Update will remove them. Continue?</translation>
    </message>
    <message>
        <source>ID3v1标签更新成功！</source>
        <translation>ID3v1 tag updated.</translation>
    </message>
    <message>
        <source>ID3v2标签更新成功！</source>
        <translation>ID3v2 tag updated.</translation>
    </message>
    <message>
        <source>ID3v1标签更新失败！</source>
        <translation>The ID3v1 tag was not updated!</translation>
    </message>
    <message>
        <source>ID3v2标签更新失败！</source>
        <translation>The ID3v2 tag was not updated!</translation>
    </message>
    <message>
        <source>删除ID3v1标签失败！</source>
        <translation>The ID3v1 tag was not removed!</translation>
    </message>
    <message>
        <source>删除ID3v2标签失败！</source>
        <translation>The ID3v2 tag was not removed!</translation>
    </message>
    <message>
        <source>无法检查或完成此文件上一次的标签修改：%1
标签没有更新。</source>
        <translation>Cannot check or finish the last tag edit of %1.
The tags were not updated.</translation>
    </message>
    <message>
        <source>上一次的标签修改没有完成：%1
现已完成。</source>
        <translation>The last tag edit of %1 was not finished.
It is finished now.</translation>
    </message>
    <message>
        <source>上一次的标签修改没有完成：%1
文件已被另一个程序修改，保持原样。</source>
        <translation>The last tag edit of %1 was not finished.
Another program has changed the file since; it is left as it is.</translation>
    </message>
</context>
<context>
    <name>varnel::TagFixDialog</name>
    <message>
        <source>标签转为Unicode</source>
        <translation>Tags to Unicode</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>字段</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>原文字</source>
        <translation>Old text</translation>
    </message>
    <message>
        <source>新文字</source>
        <translation>New text</translation>
    </message>
    <message>
        <source>变化</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>为只有ID3v1标签的文件添加ID3v2标签</source>
        <translation>Add an ID3v2 tag to files with only an ID3v1 tag</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在转换标签……</source>
        <translation>Converting tags…</translation>
    </message>
    <message>
        <source>已取消：</source>
        <translation>Cancelled: </translation>
    </message>
    <message numerus="yes">
        <source>已转换 %n 个文件</source>
        <translation>
            <numerusform>Converted %n file</numerusform>
            <numerusform>Converted %n files</numerusform>
        </translation>
    </message>
</context>
</TS>
