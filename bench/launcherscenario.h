#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "benchoptions.h"
#include "rendererstats.h"

class ProbeApplication;
class QAbstractButton;
class QStackedWidget;
class QWebEngineView;
class QWidget;

// What the launcher program measures, acting on the window as a user would:
// start to first frame, memory once started, then (optionally maximised) a
// Connect to the simulated mixer: the address typed into the field key by
// key, a pause, the click, until the console page is the current page; the
// cost of each frame of the slide that brings it in, and memory after it.
class LauncherScenario : public QObject
{
    Q_OBJECT
public:
    LauncherScenario(ProbeApplication *app, QWidget *window, BenchOptions options);
    void start();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onFirstFrame();
    void afterStartSettled();
    void connectToMixer();
    void typeNextKey();
    void clickConnect();
    void reportKeyEchoes();
    void onLoadFinished(bool ok);
    void onPageChanged();
    void reportSlide();
    void afterConnectSettled();
    void reportPageRenders();

    ProbeApplication *m_app;
    QWidget *m_window;
    BenchOptions m_options;
    QPointer<QStackedWidget> m_stack;
    QPointer<QWidget> m_pageLoad;
    QPointer<QWidget> m_pageWeb;
    QPointer<QWidget> m_address;
    QPointer<QAbstractButton> m_button;
    QPointer<QWebEngineView> m_view;
    LoadThreadStats m_renderer{QStringLiteral("renderer")};
    LoadThreadStats m_gui{QStringLiteral("gui")};
    int m_keysTyped = 0;
    QList<qint64> m_keyNs;
    qint64 m_connectNs = 0;
    qint64 m_loadNs = 0;
    qint64 m_slideStartNs = 0;
    qint64 m_webShownNs = 0;
};
