#pragma once

#include <QObject>
#include <QPointer>

class QWebEngineView;

// Sets the web engine up for the console view before the first Connect, once
// the user shows that a Connect is coming (an address typed or picked).
//
// The engine's first use builds the page's web contents, starts the renderer
// process and gives the view its render widget. Done on the click, all of it
// delays the first console; done at start-up, every user would pay its memory
// and renderer, connecting or not.
//
// A window holding a render widget is composed through OpenGL where there is
// an OpenGL driver. Qt decides how a window is composed when it creates it, and
// re-creates a window of the other kind when such a widget arrives later:
// the window vanishes and comes back, keys typed meanwhile are lost, and a
// Wayland compositor places it anew. So the view holds a stand-in from the
// start, never shown, and the window is composed as the view will need from
// its creation on.
class ConsoleWarmUp : public QObject
{
    Q_OBJECT
public:
    // Call before the view's window is created (shown).
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
