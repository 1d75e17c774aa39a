#pragma once

#include <QWidget>

class QQuickView;

namespace Ui {
class web;
}

// Host for the QML web view document; created hidden by the first Connect.
class web : public QWidget
{
    Q_OBJECT
public:
    explicit web(QWidget *parent = nullptr);
    ~web() override;

    QQuickView *view = nullptr;
    // When set, kept covering the whole widget.
    QWidget *container = nullptr;

signals:
    void loadFinished(bool ok);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    Ui::web *ui;
};
