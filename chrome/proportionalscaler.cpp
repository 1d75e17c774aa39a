#include "chrome/proportionalscaler.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSlider>
#include <QWidget>
#include <QtGlobal>

ProportionalScaler::ProportionalScaler(QWidget *owner, float baseWidth, float baseHeight)
    : owner(owner), baseWidth(baseWidth), baseHeight(baseHeight)
{
    scanLayoutContainers();
}

void ProportionalScaler::scanLayoutContainers()
{
    // Designer wraps free-standing layouts in containers named "layoutWidget":
    // the container is moved and resized, its children stay under the layout.
    const QList<QLayout *> layouts = owner->findChildren<QLayout *>();
    for (QLayout *layout : layouts) {
        auto *container = qobject_cast<QWidget *>(layout->parent());
        if (!container || !container->objectName().contains(QLatin1String("layoutWidget")))
            continue;
        explicitWidgets.append(container);
        for (QObject *child : container->children()) {
            if (auto *widget = qobject_cast<QWidget *>(child)) {
                fontOnlyWidgets.append(widget);
                fontOnlyItems.insert(widget, Item{QRect(), widget->font()});
            }
        }
    }
}

void ProportionalScaler::setTypeMask(int mask)
{
    typeMask = mask;
}

void ProportionalScaler::addWidget(QWidget *widget)
{
    explicitWidgets.append(widget);
}

void ProportionalScaler::recordGeometry(QWidget *widget)
{
    QRect geometry = widget->geometry();
    geometry.setWidth(qAbs(geometry.width()));
    geometry.setHeight(qAbs(geometry.height()));
    geometryItems.insert(widget, Item{geometry, widget->font()});
}

template <class T>
void ProportionalScaler::recordAll()
{
    const QList<T *> found = owner->findChildren<T *>();
    for (T *widget : found)
        recordGeometry(widget);
}

void ProportionalScaler::record()
{
    for (QWidget *widget : std::as_const(explicitWidgets))
        recordGeometry(widget);

    if (typeMask & ScaleLabels)
        recordAll<QLabel>();
    if (typeMask & ScaleComboBoxes)
        recordAll<QComboBox>();
    if (typeMask & ScaleButtons)
        recordAll<QAbstractButton>();
    if (typeMask & ScaleLineEdits)
        recordAll<QLineEdit>();
    if (typeMask & ScaleFrames)
        recordAll<QFrame>();
    if (typeMask & ScaleProgressBars)
        recordAll<QProgressBar>();
    if (typeMask & ScaleSliders)
        recordAll<QSlider>();

    // Children of layout containers belong to their layout, whatever their class.
    for (QWidget *widget : std::as_const(fontOnlyWidgets))
        geometryItems.remove(widget);
    recorded = true;
}

float ProportionalScaler::fontFactor(float f)
{
    // Coarse steps keep text from jittering while a window is dragged larger
    // or smaller; at the base size text is drawn a little smaller than drawn.
    if (f > 2.0f)
        return 1.2f;
    if (f > 1.8f)
        return 1.1f;
    if (f > 1.5f)
        return 1.0f;
    if (f >= 0.9f)
        return 0.9f;
    if (f < 0.5f)
        return 0.5f;
    if (f < 0.8f)
        return 0.7f;
    return f;
}

void ProportionalScaler::rescale()
{
    xRatio = owner->width() / baseWidth;
    yRatio = owner->height() / baseHeight;
    fontRatio = qMin(xRatio, yRatio);
    if (!recorded)
        return;

    currentFontFactor = fontFactor(fontRatio);
    for (auto it = geometryItems.cbegin(); it != geometryItems.cend(); ++it) {
        const QRect &r = it.value().geometry;
        const int width = static_cast<int>(r.width() * xRatio);
        const int height = static_cast<int>(qMax(r.height() * yRatio, 1.0f));
        const int x = static_cast<int>(r.x() * xRatio);
        const int y = static_cast<int>(r.y() * yRatio);
        scaleFont(it.key(), it.value().font.pointSize());
        it.key()->setGeometry(x, y, width, height);
    }
    for (auto it = fontOnlyItems.cbegin(); it != fontOnlyItems.cend(); ++it)
        scaleFont(it.key(), it.value().font.pointSize());
}

void ProportionalScaler::scaleFont(QWidget *widget, int pointSize)
{
    if (pointSize <= 0)
        return;  // sized in pixels: left as it is
    // A point size of 0 is invalid for QFont; the smallest text stays readable.
    const int scaled = qMax(1, static_cast<int>(pointSize * currentFontFactor));

    // A style sheet font wins over setFont, so such a font is rewritten in the
    // sheet, always from the recorded size so that rescales do not accumulate.
    static const QRegularExpression sheetFont(QStringLiteral("font:\\s+[0-9]+pt"));
    QString sheet = widget->styleSheet();
    if (sheet.contains(sheetFont)) {
        sheet.replace(sheetFont, QStringLiteral("font: %1pt").arg(scaled));
        widget->setStyleSheet(sheet);
        return;
    }
    QFont font = widget->font();
    font.setPointSize(scaled);
    widget->setFont(font);
}
