#pragma once

#include <QSharedPointer>
#include <QWidget>
#include <functional>

namespace Ui {
class customWidget;
}

// The whole visible content of the frameless window: a title bar (logo, display
// name, minimise, maximise/restore, close) above the page area that hosts the
// one main content widget. The buttons only announce clicks; the window decides
// what they do.
class customWidget : public QWidget
{
    Q_OBJECT
public:
    // Makes the main content that the page area hosts; the window's owner
    // decides what it is. Without one the page area stays empty.
    using ContentFactory = std::function<QWidget *()>;

    explicit customWidget(QWidget *parent = nullptr, const ContentFactory &makeContent = {});
    ~customWidget() override;

    // Height of the band in which a press moves the window: the 30-pixel title
    // bar and two pixels of slack below it.
    int titleHeight() const { return m_titleHeight; }
    void updateResizeIcon(bool maximized);

signals:
    void closeClicked();
    void resizeClick();
    void minimumClicked();

private slots:
    void on_toolClose_clicked();
    void on_toolResize_clicked();
    void on_toolMinimum_clicked();

private:
    void createMainContent(const ContentFactory &makeContent);
    void applyCustomization();

    int m_titleHeight = 32;
    Ui::customWidget *ui;
    QSharedPointer<QWidget> m_widget;
};
