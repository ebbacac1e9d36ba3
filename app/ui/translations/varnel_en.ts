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
    </context>
</TS>
