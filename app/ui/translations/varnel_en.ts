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
</TS>
