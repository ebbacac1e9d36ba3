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
    <name>TagBatchJournal</name>
    <message>
        <source>无法建立标签的撤消记录：%1
不做记录而修改标签，以后将不能撤消。是否继续？</source>
        <translation>Cannot make the tag undo journal: %1
Tags changed without one cannot be undone later. Go on?</translation>
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
    <name>varnel::BatchTagDialog</name>
    <message>
        <source>批量编辑标签</source>
        <translation>Edit Tags of Many Files</translation>
    </message>
    <message>
        <source>保持不变</source>
        <translation>Keep as it is</translation>
    </message>
    <message>
        <source>勾选的字段写入每个文件（框中无字时清空该字段），未勾选的保持不变。MP3文件可改全部十二个字段；其他音频格式只改左列六个字段，右列字段不适用。</source>
        <translation>Each checked field is written to every file (an empty box clears the field); unchecked fields are kept. MP3 files take all twelve fields; the other audio formats take the six fields of the left column only, the right column does not apply to them.</translation>
    </message>
</context>
<context>
    <name>varnel::CasePage</name>
    <message>
        <source>全部大写</source>
        <translation>All upper case</translation>
    </message>
    <message>
        <source>全部小写</source>
        <translation>All lower case</translation>
    </message>
    <message>
        <source>首字母大写</source>
        <translation>First letter upper</translation>
    </message>
    <message>
        <source>首字母小写</source>
        <translation>First letter lower</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>扩展名</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>每个单词首字母大写</source>
        <translation>Capitalize Each Word</translation>
    </message>
</context>
<context>
    <name>varnel::ChainPanel</name>
    <message>
        <source>规则链</source>
        <translation>Rule chain</translation>
    </message>
    <message>
        <source>使用规则链</source>
        <translation>Use the rule chain</translation>
    </message>
    <message>
        <source>添加当前规则</source>
        <translation>Add current rule</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>删除步骤</source>
        <translation>Remove step</translation>
    </message>
    <message>
        <source>勾选的步骤按顺序应用，每一步使用上一步得到的新名称</source>
        <translation>Checked steps apply in order; each step works on the names the step before made</translation>
    </message>
</context>
<context>
    <name>varnel::FileChooser</name>
    <message>
        <source>上一级</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>显示隐藏文件</source>
        <translation>Show hidden files</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>目录：</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>文件名：</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>文件类型：</source>
        <translation>File type:</translation>
    </message>
    <message>
        <source>包含子文件夹</source>
        <translation>Include subfolders</translation>
    </message>
</context>
<context>
    <name>varnel::FileListModel</name>
    <message>
        <source>旧文件名</source>
        <translation>Old name</translation>
    </message>
    <message>
        <source>新文件名</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>命名状态</source>
        <translation>Rename status</translation>
    </message>
    <message>
        <source>MP3标签状态</source>
        <translation>MP3 tag status</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>修改时间</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>%1 字节</source>
        <translation>%1 bytes</translation>
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
    <name>varnel::InsertPage</name>
    <message>
        <source>扩展名：</source>
        <translation>Extension:</translation>
    </message>
    <message>
        <source>保持一致</source>
        <translation>Keep the same</translation>
    </message>
    <message>
        <source>欲插入的字符：</source>
        <translation>Text to insert:</translation>
    </message>
    <message>
        <source>文件名：</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>插入到第</source>
        <translation>Insert at</translation>
    </message>
    <message>
        <source>文件名尾</source>
        <translation>End of name</translation>
    </message>
    <message>
        <source>扩展名尾</source>
        <translation>End of extension</translation>
    </message>
    <message>
        <source>插入到文件名：</source>
        <translation>Into the file name:</translation>
    </message>
    <message>
        <source>个位置</source>
        <translation>position</translation>
    </message>
    <message>
        <source>插入到扩展名：</source>
        <translation>Into the extension:</translation>
    </message>
</context>
<context>
    <name>varnel::ListContextMenu</name>
    <message>
        <source>添加整个目录(&amp;O)</source>
        <translation>Add a whole f&amp;older</translation>
    </message>
    <message>
        <source>加入文件(&amp;F)</source>
        <translation>Add &amp;files</translation>
    </message>
    <message>
        <source>过滤(&amp;L)...</source>
        <translation>Fi&amp;lter...</translation>
    </message>
    <message>
        <source>删除选择的项目(&amp;D)</source>
        <translation>Remove selecte&amp;d items</translation>
    </message>
    <message>
        <source>清空列表(&amp;E)</source>
        <translation>&amp;Empty the list</translation>
    </message>
    <message>
        <source>MP3标签信息(&amp;I)...</source>
        <translation>MP3 tag &amp;information...</translation>
    </message>
    <message>
        <source>删除无MP3标签项目(M)</source>
        <translation>Remove items without an &amp;MP3 tag</translation>
    </message>
    <message>
        <source>标签转为Unicode...</source>
        <translation>Convert tags to Unicode...</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select all</translation>
    </message>
</context>
<context>
    <name>varnel::MainWindow</name>
    <message>
        <source>正在更名……</source>
        <translation>Renaming…</translation>
    </message>
    <message>
        <source>无法建立撤消记录：%1

如果继续，程序意外中止后将无法撤消这批更名。是否仍然更名？</source>
        <translation>Cannot make the undo record: %1

If you go on, this batch cannot be undone should the program stop unexpectedly. Rename anyway?</translation>
    </message>
    <message>
        <source>

无法完成撤消记录：%1</source>
        <translation>

Cannot finish the undo record: %1</translation>
    </message>
    <message>
        <source>正在撤消……</source>
        <translation>Undoing…</translation>
    </message>
    <message>
        <source>
    ……另有 %1 个文件夹</source>
        <translation>
    … and %1 more folders</translation>
    </message>
    <message>
        <source>不详</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>上一次的批量更名没有完成。

时间：%1
已更名：%2 个文件
文件夹：
    %3

是否撤消它已做的更名？
（选“否”保留这份记录：以后可以在“文件”菜单中撤消或丢弃它。）</source>
        <translation>The last batch rename did not finish.

Time: %1
Renamed: %2 files
Folders:
    %3

Undo the renames it made?
(“No” keeps the record: you can undo or discard it later from the “File” menu.)</translation>
    </message>
    <message>
        <source>是否丢弃未完成的批量更名的记录？
丢弃后，它已做的更名再也不能撤消。</source>
        <translation>Discard the record of the unfinished batch rename?
Once it is discarded, the renames it made can no longer be undone.</translation>
    </message>
    <message>
        <source>%1 - 文件批量修改器 V%2</source>
        <translation>%1 - Batch File Renamer V%2</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无法保存 %1：%2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n个文件</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message>
        <source>自动预览－开</source>
        <translation>Auto preview: on</translation>
    </message>
    <message>
        <source>自动预览－关</source>
        <translation>Auto preview: off</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>所有文件(*.*)|*.*|音乐文件(*.mp3;wav;wma)|*.mp3;wav;wma|图片文件(*.gif;*.jpg;*.jpeg;*.bmp;*.png)|*.gif;*.jpg;*.jpeg;*.bmp;*.png|文本文件(*.txt)|*.txt</source>
        <translation>All files (*.*)|*.*|Music files (*.mp3;wav;wma)|*.mp3;wav;wma|Pictures (*.gif;*.jpg;*.jpeg;*.bmp;*.png)|*.gif;*.jpg;*.jpeg;*.bmp;*.png|Text files (*.txt)|*.txt</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>请选择文件(可多选)：</source>
        <translation>Choose files (several allowed):</translation>
    </message>
    <message>
        <source>确实要加入主文件夹（%1）中的文件吗？</source>
        <translation>Really add the files of your home folder (%1)?</translation>
    </message>
    <message>
        <source>文件夹 %1 中有 %2 个文件，确实要全部加入吗？</source>
        <translation>The folder %1 holds %2 files. Really add them all?</translation>
    </message>
    <message>
        <source>询问：</source>
        <translation>Question:</translation>
    </message>
    <message>
        <source>请选择一个目录</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>正在添加文件……</source>
        <translation>Adding files…</translation>
    </message>
    <message>
        <source>已取消：已添加 %1 个文件</source>
        <translation>Cancelled: %1 files were added</translation>
    </message>
    <message>
        <source>抱歉，该文件不是MP3文件！</source>
        <translation>Sorry, this file is not an MP3 file!</translation>
    </message>
    <message>
        <source>选择目录(&amp;D)...</source>
        <translation>Choose &amp;folder...</translation>
    </message>
    <message>
        <source>选择目录</source>
        <translation>Choose folder</translation>
    </message>
    <message>
        <source>添加文件(&amp;N)...</source>
        <translation>Add file&amp;s...</translation>
    </message>
    <message>
        <source>加入多个文件</source>
        <translation>Add files</translation>
    </message>
    <message>
        <source>撤消(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>撤消</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>预览(&amp;V)</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>开始命名(&amp;R)</source>
        <translation>&amp;Rename</translation>
    </message>
    <message>
        <source>开始命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>文件名转为UTF-8</source>
        <translation>Respell names in UTF-8</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>撤消未完成的批量更名…</source>
        <translation>Undo the unfinished batch…</translation>
    </message>
    <message>
        <source>丢弃未完成的批量更名记录…</source>
        <translation>Discard the record of the unfinished batch…</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>操作(&amp;C)</source>
        <translation>&amp;Commands</translation>
    </message>
    <message>
        <source>选项(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>设置(&amp;S)...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>工具条</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>文件个数</source>
        <translation>Number of files</translation>
    </message>
    <message>
        <source>自动预览</source>
        <translation>Auto preview</translation>
    </message>
    <message numerus="yes">
        <source>%n个文件夹无法读取，其中的文件没有加入列表：</source>
        <translation>
            <numerusform>%n folder could not be read; its files were not added:</numerusform>
            <numerusform>%n folders could not be read; their files were not added:</numerusform>
        </translation>
    </message>
    <message>
        <source>规则链(&amp;L)</source>
        <translation>Rule &amp;Chain</translation>
    </message>
    <message>
        <source>保存预设…</source>
        <translation>Save Preset…</translation>
    </message>
    <message>
        <source>载入预设…</source>
        <translation>Load Preset…</translation>
    </message>
    <message>
        <source>最近的预设</source>
        <translation>Recent Presets</translation>
    </message>
    <message>
        <source>预设文件 (*.varnel)</source>
        <translation>Preset files (*.varnel)</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>保存预设</source>
        <translation>Save Preset</translation>
    </message>
    <message>
        <source>预设.varnel</source>
        <translation>preset.varnel</translation>
    </message>
    <message>
        <source>无法保存预设 %1：%2</source>
        <translation>Cannot save the preset %1: %2</translation>
    </message>
    <message>
        <source>载入预设</source>
        <translation>Load Preset</translation>
    </message>
    <message>
        <source>无法载入预设 %1：%2</source>
        <translation>Cannot load the preset %1: %2</translation>
    </message>
    <message>
        <source>上移选中项</source>
        <translation>Move Selection Up</translation>
    </message>
    <message>
        <source>下移选中项</source>
        <translation>Move Selection Down</translation>
    </message>
    <message>
        <source>文件名转为标签...</source>
        <translation>Tags from File Names...</translation>
    </message>
    <message>
        <source>批量编辑标签...</source>
        <translation>Edit Tags of Many Files...</translation>
    </message>
    <message>
        <source>上一次的标签批量编辑没有完成。

时间：%1
已记录：%2 个文件
文件夹：
    %3

是否撤消它已写入的标签？
（选“否”保留这份记录：以后可以在“文件”菜单中撤消或丢弃它。）</source>
        <translation>The last batch tag edit did not finish.

Time: %1
Recorded: %2 files
Folders:
    %3

Undo the tags it wrote?
(“No” keeps the record: you can undo or discard it later from the “File” menu.)</translation>
    </message>
    <message>
        <source>撤消历史…</source>
        <translation>Undo History…</translation>
    </message>
    <message>
        <source>是否丢弃未完成的标签批量编辑的记录？
丢弃后，它已写入的标签再也不能撤消。</source>
        <translation>Discard the record of the unfinished batch tag edit?
Once discarded, the tags it wrote can no longer be undone.</translation>
    </message>
</context>
<context>
    <name>varnel::NumberPage</name>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>扩展名</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>作用于：</source>
        <translation>Apply to:</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>起始量：</source>
        <translation>Start:</translation>
    </message>
    <message>
        <source>增量</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>前缀</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>主文件名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>位数</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>后缀</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>新扩展名</source>
        <translation>New extension</translation>
    </message>
</context>
<context>
    <name>varnel::PreviewTable</name>
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
    <name>varnel::QtUiServices</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>varnel::ReplacePage</name>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>区分大小写</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>正则表达式</source>
        <translation>Regular expression</translation>
    </message>
    <message>
        <source>查找内容是正则表达式（PCRE2），替换为可用 $1、${名称}</source>
        <translation>Find is a regular expression (PCRE2); Replace with may use $1, ${name}</translation>
    </message>
    <message>
        <source>仅文件名</source>
        <translation>Name only</translation>
    </message>
    <message>
        <source>仅扩展名</source>
        <translation>Extension only</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>查找内容</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>替换为</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>（为空时表示删除‘查找内容’的内容）</source>
        <translation>(empty: removes what Find matches)</translation>
    </message>
    <message>
        <source>应用于：</source>
        <translation>Apply to:</translation>
    </message>
</context>
<context>
    <name>varnel::RuleTabs</name>
    <message>
        <source>常规</source>
        <translation>Numbering</translation>
    </message>
    <message>
        <source>替换/删除</source>
        <translation>Replace/Remove</translation>
    </message>
    <message>
        <source>插入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>大小写</source>
        <translation>Case</translation>
    </message>
    <message>
        <source>MP3标签</source>
        <translation>MP3 tags</translation>
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
    <name>varnel::TagBatchJournal</name>
    <message>
        <source>撤消记录未能写完：%1</source>
        <translation>The undo journal could not be completed: %1</translation>
    </message>
</context>
<context>
    <name>varnel::TagBatchWindow</name>
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
        <source>音轨</source>
        <translation>Track</translation>
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
        <source>作曲家</source>
        <translation>Composer</translation>
    </message>
    <message>
        <source>原创者</source>
        <translation>Orig. artist</translation>
    </message>
    <message>
        <source>版权</source>
        <translation>Copyright</translation>
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
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>正在读取标签……</source>
        <translation>Reading the tags...</translation>
    </message>
    <message>
        <source>无法读取 (%1)</source>
        <translation>Cannot be read (%1)</translation>
    </message>
    <message>
        <source>无需改动</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>将写入</source>
        <translation>To be written</translation>
    </message>
    <message numerus="yes">
        <source>%n 个文件的ID3v2标签中有无法保留的帧：%1
写入将删除这些帧。是否继续？（否：这些文件不写入）</source>
        <translation>
            <numerusform>The ID3v2 tag of %n file holds frames that cannot be kept:%1
Writing drops these frames. Go on? (No: that file is not written)</numerusform>
            <numerusform>The ID3v2 tags of %n files hold frames that cannot be kept:%1
Writing drops these frames. Go on? (No: those files are not written)</numerusform>
        </translation>
    </message>
    <message>
        <source>正在写入标签……</source>
        <translation>Writing the tags...</translation>
    </message>
    <message>
        <source>未写入 (已取消)</source>
        <translation>Not written (cancelled)</translation>
    </message>
    <message>
        <source>已写入</source>
        <translation>Written</translation>
    </message>
    <message>
        <source>未写入</source>
        <translation>Not written</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>Failed</translation>
    </message>
    <message numerus="yes">
        <source>已写入 %n 个文件</source>
        <translation>
            <numerusform>Wrote %n file</numerusform>
            <numerusform>Wrote %n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>，%n 个文件未能写入</source>
        <translation>
            <numerusform>, %n file could not be written</numerusform>
            <numerusform>, %n files could not be written</numerusform>
        </translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
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
<context>
    <name>varnel::TagPage</name>
    <message>
        <source>#1-艺术家</source>
        <translation>#1-Artist</translation>
    </message>
    <message>
        <source>艺术家</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>#2-歌曲名</source>
        <translation>#2-Title</translation>
    </message>
    <message>
        <source>歌曲名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>#3-专辑</source>
        <translation>#3-Album</translation>
    </message>
    <message>
        <source>专辑</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>#4-音轨</source>
        <translation>#4-Track</translation>
    </message>
    <message>
        <source>音轨</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>#5-年代</source>
        <translation>#5-Year</translation>
    </message>
    <message>
        <source>年代</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>#6-流派</source>
        <translation>#6-Genre</translation>
    </message>
    <message>
        <source>流派</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>艺术家-歌曲名</source>
        <translation>Artist-Title</translation>
    </message>
    <message>
        <source>艺术家-专辑-歌曲名</source>
        <translation>Artist-Album-Title</translation>
    </message>
    <message>
        <source>艺术家-专辑-年代-歌曲名</source>
        <translation>Artist-Album-Year-Title</translation>
    </message>
    <message>
        <source>艺术家-专辑-年代-歌曲名-音轨</source>
        <translation>Artist-Album-Year-Title-Track</translation>
    </message>
    <message>
        <source>ID3v1.x优先</source>
        <translation>ID3v1.x first</translation>
    </message>
    <message>
        <source>ID3v2.x优先</source>
        <translation>ID3v2.x first</translation>
    </message>
    <message>
        <source>预定义方案：</source>
        <translation>Schemes:</translation>
    </message>
    <message>
        <source>命名规则：</source>
        <translation>Template:</translation>
    </message>
    <message>
        <source>其他音频格式</source>
        <translation>Other audio formats</translation>
    </message>
    <message>
        <source>也按标签给 FLAC、Ogg、Opus、M4A、APE、WavPack、Musepack、WMA、AIFF、WAV 和 DSF 文件命名</source>
        <translation>Also name FLAC, Ogg, Opus, M4A, APE, WavPack, Musepack, WMA, AIFF, WAV and DSF files from their tags</translation>
    </message>
</context>
<context>
    <name>varnel::TagsFromNamesDialog</name>
    <message>
        <source>文件名转为标签</source>
        <translation>Tags from File Names</translation>
    </message>
    <message>
        <source>#1 艺术家，#2 歌曲名，#3 专辑，#4 音轨，#5 年代，#6 流派；占位符之间的文字用来分隔字段</source>
        <translation>#1 artist, #2 title, #3 album, #4 track, #5 year, #6 genre; the text between placeholders separates the fields</translation>
    </message>
    <message>
        <source>模板：</source>
        <translation>Template:</translation>
    </message>
    <message>
        <source>参照：</source>
        <translation>Reads as:</translation>
    </message>
    <message>
        <source>文件名与模板不符</source>
        <translation>Name does not match the template</translation>
    </message>
</context>
<context>
    <name>varnel::UndoHistoryDialog</name>
    <message>
        <source>撤消历史</source>
        <translation>Undo History</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>文件数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>撤消所选的一批操作之前，比它新而尚未撤消的各批操作会按从新到旧的顺序先撤消。</source>
        <translation>Before the selected batch is undone, every newer batch not yet undone is undone first, newest first.</translation>
    </message>
    <message>
        <source>撤消(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>标签</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>更名</source>
        <translation>Rename</translation>
    </message>
    <message numerus="yes">
        <source> 等 %n 个文件夹</source>
        <translation>
            <numerusform> and others (%n folder)</numerusform>
            <numerusform> and others (%n folders)</numerusform>
        </translation>
    </message>
    <message>
        <source>可撤消</source>
        <translation>Can be undone</translation>
    </message>
    <message>
        <source>已撤消</source>
        <translation>Undone</translation>
    </message>
    <message>
        <source>未完成</source>
        <translation>Unfinished</translation>
    </message>
    <message>
        <source>正在进行</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>不可用</source>
        <translation>Unusable</translation>
    </message>
    <message>
        <source>是否撤消所选的这批操作？</source>
        <translation>Undo the selected batch?</translation>
    </message>
    <message>
        <source>将按从新到旧的顺序撤消 %1 批操作，最后是所选的这一批。是否继续？</source>
        <translation>%1 batches will be undone, newest first, ending with the selected one. Go on?</translation>
    </message>
    <message>
        <source>正在撤消……</source>
        <translation>Undoing…</translation>
    </message>
    <message numerus="yes">
        <source>已撤消 %n 批操作。</source>
        <translation>
            <numerusform>%n batch undone.</numerusform>
            <numerusform>%n batches undone.</numerusform>
        </translation>
    </message>
    <message>
        <source>

%1 的%2批操作没有全部撤消，撤消到此为止：
%3</source>
        <translation>

The %2 batch of %1 did not come back whole; the undo stopped there:
%3</translation>
    </message>
</context>
</TS>
