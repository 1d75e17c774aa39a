#include "console/selectdownloadfolder.h"

#include <QtQml/qqml.h>
#include <QFileDialog>

SelectDownloadFolder::SelectDownloadFolder(QObject *parent) : QObject(parent) {}

QString SelectDownloadFolder::getSelectDownloadFolder()
{
    return QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral(" 选择文件夹 "), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

void registerSelectDownloadFolderType()
{
    qmlRegisterType<SelectDownloadFolder>("com.mycompany", 1, 0, "SelectDownloadFolder");
}
