#include "support/cataloguemessages.h"

QString CatalogueMessage::text(const QString &language) const
{
    if (language == QLatin1String("zh"))
        return QString::fromUtf8(simplified);
    if (language == QLatin1String("tc"))
        return QString::fromUtf8(traditional);
    if (language == QLatin1String("sp"))
        return QString::fromUtf8(spanish);
    return QString::fromUtf8(source);
}

const QList<CatalogueMessage> &catalogueMessages()
{
    static const QList<CatalogueMessage> messages = {
        {"Widget", "Connect", "连接", "連接", "Conectar"},
        {"Widget", "Connection", "连接", "網路設定", "Conexión"},
        {"Widget", "IP", "IP地址", "IP地址", "IP"},
        {"Widget", "Modle", "模式", "模式", "Modo"},
        {"Widget", "Name", "设备名称", "設備名稱", "Nombre"},
        {"Widget", "Please enter a valid IP address!", "请输入一个有效的IP地址！",
         "請輸入有效的IP地址！", "¡¡ introduzca una dirección IP válida!"},
        {"Widget", "Please select an IP address", "请选择一个ip地址", "請選擇一個IP地址",
         "Please Select an IP Direction"},
        {"Widget", "Remark", "备注", "備註", "Notar"},
        {"Widget", "Search", "搜索", "搜尋", "Búscar Canal"},
        {"Widget", "Search ended!", "搜索结束！", "搜尋完畢", "¡Búsqueda finalizada!"},
        {"Widget", "Searching...", "搜索中。。。", "搜尋中。。。", "Buscando"},
        {"Widget", "Select Mixer from List", "从列表中选择混音器", "從列表中選擇混音器",
         "Seleccionar Consola Digital de la lista"},
        {"Widget", "Status", "状态", "狀態", "Estado"},
        {"Widget", "Status：", "状态", "狀態", "Estado:"},
        {"loading", "Loading", "加载中", "加載中", "En carga"},
        {"loading", "Loading...", "加载中", "加載中", "En carga"},
    };
    return messages;
}

QString expectedText(const QString &language, const char *context, const char *source)
{
    for (const CatalogueMessage &message : catalogueMessages()) {
        if (qstrcmp(message.context, context) == 0 && qstrcmp(message.source, source) == 0)
            return message.text(language);
    }
    return QString::fromUtf8(source);
}
