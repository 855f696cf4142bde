<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CliOptions</name>
    <message>
        <source>unknown option: %1</source>
        <translation>不明なオプションです：%1</translation>
    </message>
    <message>
        <source>unknown option: --%1</source>
        <translation>不明なオプションです：--%1</translation>
    </message>
</context>
</TS>
