// Device table members of Widget: the records found and the rows that show them.
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include "console/widget.h"
#include "console/widget_ui.h"

void Widget::setupTable()
{
    webHost = nullptr;
    configManager = nullptr;
    setWindowTitle(QCoreApplication::applicationName());
    ui->lineEdit_ip->setPlaceholderText(tr("Please select an IP address"));

    QHeaderView *header = ui->tableView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setDefaultAlignment(Qt::AlignCenter);

    QTableView *view = ui->tableView;
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFocusPolicy(Qt::NoFocus);
    view->verticalHeader()->setVisible(false);

    header->setStyleSheet(QStringLiteral(
        "QHeaderView{background: rgb(45, 45, 45);border:1px solid rgba(0, 0, 0, 0);"
        "border-radius:6px;}QHeaderView::section{background: rgb(45, 45, 45);color:white;"
        "border-right:1px solid gray;text-align:center;}"));
    view->setStyleSheet(QStringLiteral(
        "#tableView{border: none;color:white;background:rgb(50, 50, 50);"
        "selection-background-color: rgb(47, 214, 222);}#tableView::Item{border:none;"
        "border:1px solid rgb(47, 214, 222);height:80px;}#tableView::item::selected{font: "
        "bold;background:rgb(47, 214, 222);outline:none;}"));
    refreshTable();
    // The header only learns its width once the window is on screen; build
    // the rows again then, so the stretched columns span the whole view.
    QTimer::singleShot(0, this, &Widget::refreshTable);
}

void Widget::refreshTable()
{
    QHeaderView *header = ui->tableView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    deviceModel.clear();
    deviceModel.setColumnCount(5);
    deviceModel.setHorizontalHeaderLabels(
        {tr("Name"), tr("IP"), tr("Modle"), tr("Status"), tr("Remark")});
    // Each row goes in whole: filled cell by cell, the view would react to
    // every cell of a row that it had just been told about, and a search
    // burst rebuilds the table with hundreds of rows.
    for (const DeviceInfo &device : std::as_const(devices)) {
        deviceModel.appendRow(QList<QStandardItem *>{
            new QStandardItem(device.name), new QStandardItem(device.ip),
            new QStandardItem(device.model),
            new QStandardItem(device.linked ? QStringLiteral("Link") : QStringLiteral("No Link"))});
    }
    ui->tableView->setModel(&deviceModel);
    header->setSectionResizeMode(QHeaderView::Interactive);
}

void Widget::insertDevice(const DeviceInfo &device)
{
    // The first answer for an address wins; later ones never replace it.
    if (!devices.contains(device.ip))
        devices.insert(device.ip, device);
}

void Widget::on_tableView_clicked(const QModelIndex &index)
{
    const QStandardItem *ipItem = deviceModel.item(index.row(), 1);
    if (ipItem)
        ui->lineEdit_ip->setText(ipItem->text());
}
