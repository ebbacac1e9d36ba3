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
</TS>
