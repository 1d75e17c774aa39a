// Device table members of Widget: the records found and the rows that show them.
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>

#include "chrome/palette.h"
#include "console/consolewarmup.h"
#include "console/discoveryprotocol.h"
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
    view->setStyleSheet(
        QStringLiteral(
            "#tableView{border: none;color:white;background:%1;"
            "selection-background-color: rgb(47, 214, 222);}#tableView::Item{border:none;"
            "border:1px solid rgb(47, 214, 222);height:80px;}#tableView::item::selected{font: "
            "bold;background:rgb(47, 214, 222);outline:none;}")
            .arg(Palette::windowGrey));
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
    // The rows in one step, then the cells without a notification each, then
    // one notification for all of them: a view told of every cell on its own
    // works on each, and with thousands of devices found (or claimed by a
    // flood of datagrams) that would stall the window.
    deviceModel.setRowCount(int(devices.size()));
    QSignalBlocker quiet(&deviceModel);
    int row = 0;
    for (const DeviceInfo &device : std::as_const(devices)) {
        deviceModel.setItem(row, 0, new QStandardItem(device.name));
        deviceModel.setItem(row, 1, new QStandardItem(device.ip));
        deviceModel.setItem(row, 2, new QStandardItem(device.model));
        deviceModel.setItem(
            row, 3,
            new QStandardItem(device.linked ? QStringLiteral("Link") : QStringLiteral("No Link")));
        ++row;
    }
    quiet.unblock();
    if (row > 0)
        emit deviceModel.dataChanged(deviceModel.index(0, 0), deviceModel.index(row - 1, 3));
    ui->tableView->setModel(&deviceModel);
    header->setSectionResizeMode(QHeaderView::Interactive);
}

bool Widget::insertDevice(const DeviceInfo &device)
{
    // The first answer for an address wins; later ones never replace it.
    if (devices.contains(device.ip))
        return false;
    // Every record makes every later rebuild longer: a sender claiming
    // endless addresses must not grow the table without end.
    if (recordsThisSearch >= Discovery::maxRecordsPerSearch) {
        noteSearchFull();
        return false;
    }
    devices.insert(device.ip, device);
    ++recordsThisSearch;
    return true;
}

void Widget::stepThroughDevices(int step)
{
    const int rows = deviceModel.rowCount();
    if (rows == 0)
        return;
    // From the row picked last, by key or click; from none, Down takes the
    // first and Up the last.
    const QModelIndexList picked = ui->tableView->selectionModel()->selectedRows();
    const int row = picked.isEmpty() ? (step > 0 ? 0 : rows - 1)
                                     : qBound(0, picked.first().row() + step, rows - 1);
    const QModelIndex index = deviceModel.index(row, 0);
    ui->tableView->selectionModel()->select(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui->tableView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    ui->tableView->scrollTo(index);
    on_tableView_clicked(index);
}

void Widget::on_tableView_clicked(const QModelIndex &index)
{
    consoleWarmUp->warm();
    const QStandardItem *ipItem = deviceModel.item(index.row(), 1);
    if (ipItem)
        ui->lineEdit_ip->setText(ipItem->text());
}
