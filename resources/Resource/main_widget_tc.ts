<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en_US">
<context>
    <name>Widget</name>
    <message>
        <source>Connect</source>
        <translation>連接</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>網路設定</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Modle</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>設備名稱</translation>
    </message>
    <message>
        <source>Please enter a valid IP address!</source>
        <translation>請輸入有效的IP地址！</translation>
    </message>
    <message>
        <source>Please select an IP address</source>
        <translation>請選擇一個IP地址</translation>
    </message>
    <message>
        <source>Remark</source>
        <translation>備註</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Search ended!</source>
        <translation>搜尋完畢</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>搜尋中。。。</translation>
    </message>
    <message>
        <source>Select Mixer from List</source>
        <translation>從列表中選擇混音器</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>狀態</translation>
    </message>
    <message>
        <source>Status：</source>
        <translation>狀態</translation>
    </message>
    <message>
        <source>Mixer address</source>
        <translation>混音器IP地址</translation>
    </message>
    <message>
        <source>Mixer console</source>
        <translation>混音器控制台</translation>
    </message>
    <message>
        <source>Mixers found</source>
        <translation>找到的混音器</translation>
    </message>
</context>
<context>
    <name>loading</name>
    <message>
        <source>Loading</source>
        <translation>加載中</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>加載中</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>Don&apos;t let this page open more dialogs</source>
        <translation>不允許此網頁再開啟對話方塊</translation>
    </message>
</context>
<context>
    <name>DownloadProgress</name>
    <message>
        <source>Downloading</source>
        <translation>正在下載</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>已下載 %1，共 %2</translation>
    </message>
</context>
</TS>
