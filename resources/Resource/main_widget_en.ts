<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>Widget</name>
    <message>
        <source>Mixer address</source>
        <translation>Mixer address</translation>
    </message>
    <message>
        <source>Mixer console</source>
        <translation>Mixer console</translation>
    </message>
    <message>
        <source>Mixers found</source>
        <translation>Mixers found</translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message>
        <source>Downloading</source>
        <translation>Downloading</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
</context>
</TS>
