#include "console/selectdownloadfolder.h"

#include <QFileDialog>

SelectDownloadFolder::SelectDownloadFolder(QObject *parent) : QObject(parent) {}

QString SelectDownloadFolder::getSelectDownloadFolder()
{
    return QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral(" 选择文件夹 "), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}
