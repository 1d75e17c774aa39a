#pragma once

#include <QFont>
#include <QList>
#include <QMap>
#include <QRect>

class QWidget;

// Keeps a form that was drawn for one size (its base size) in proportion to
// its owner: every rescale moves and resizes the managed children by the
// owner's width and height ratios and scales their fonts by a stepped factor.
// Children of Designer layout containers ("layoutWidget") keep their layout
// and only get their fonts scaled.
//
// Use: construct, setTypeMask, addWidget as needed, record once, then rescale
// from the owner's resizeEvent. The managed widgets must outlive the scaler.
class ProportionalScaler
{
public:
    enum TypeBit {
        ScaleLabels = 1,
        ScaleButtons = 2,
        ScaleLineEdits = 4,
        ScaleComboBoxes = 8,
        ScaleFrames = 16,
        ScaleProgressBars = 32,
        ScaleSliders = 64,
    };

    ProportionalScaler(QWidget *owner, float baseWidth, float baseHeight);

    void setTypeMask(int mask);
    void addWidget(QWidget *widget);
    void record();
    void rescale();

    // The factor applied to recorded point sizes for a given font ratio.
    static float fontFactor(float fontRatio);

private:
    struct Item
    {
        QRect geometry;
        QFont font;
    };

    void scanLayoutContainers();
    void recordGeometry(QWidget *widget);
    template <class T>
    void recordAll();
    void scaleFont(QWidget *widget, int pointSize);

    QWidget *owner;
    float baseWidth;
    float baseHeight;
    float xRatio = 1.0f;
    float yRatio = 1.0f;
    float fontRatio = 1.0f;
    float currentFontFactor = 1.0f;
    int typeMask = 0;
    bool recorded = false;
    QList<QWidget *> explicitWidgets;
    QList<QWidget *> fontOnlyWidgets;
    QMap<QWidget *, Item> geometryItems;
    QMap<QWidget *, Item> fontOnlyItems;
};
