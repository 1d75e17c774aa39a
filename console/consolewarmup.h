#pragma once

#include <QObject>
#include <QPointer>

class QWebEngineView;

// Sets the web engine up for the console view before the first Connect, once
// the user shows that a Connect is coming (an address typed or picked).
//
// The engine's first use builds the page's web contents, starts the renderer
// process, gives the view its render widget and from then on composes the
// whole window through OpenGL. Done on the click, all of it delays the first
// console; done at start-up, every user would pay its memory and renderer
// and every search frame its composition, connecting or not.
class ConsoleWarmUp : public QObject
{
    Q_OBJECT
public:
    explicit ConsoleWarmUp(QWebEngineView *view, QObject *parent = nullptr);

    // Asks for the warm-up; only the first call counts. The work runs once
    // the frame that answers the user's action has been painted.
    void warm();

    // A Connect has given the view its console: until the load ends, the
    // engine is to run it as it would for a page on screen, though the view
    // is not shown yet.
    void loadStarted();

protected:
    void customEvent(QEvent *event) override;

private:
    void setUpPage();
    void loadEnded();

    QPointer<QWebEngineView> view;
    bool requested = false;
};
