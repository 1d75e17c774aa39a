#include "chrome/customwidget.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>

#include "chrome/customization.h"
#include "chrome/customwidget_ui.h"

customWidget::customWidget(QWidget *parent, const ContentFactory &makeContent)
    : QWidget(parent), ui(new Ui::customWidget)
{
    ui->setupUi(this);
    createMainContent(makeContent);
    applyCustomization();
}

customWidget::~customWidget()
{
    // The main content goes first (it sits in the form's scroll area), then the
    // plain form object.
    m_widget.reset();
    delete ui;
}

void customWidget::createMainContent(const ContentFactory &makeContent)
{
    if (m_widget || !makeContent)
        return;
    m_widget.reset(makeContent());
    // In the scroll area's contents widget, where screen readers look for what
    // a scroll area holds. The content fills the page area and never scrolls:
    // the contents widget takes whatever size the viewport has, however small,
    // so there is never anything to scroll to.
    QWidget *contents = ui->scrollAreaWidgetContents_3;
    contents->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto *layout = new QGridLayout();
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(m_widget.data(), 0, 0);
    layout->setContentsMargins(0, 0, 0, 0);
    contents->setLayout(layout);
    ui->scrollAreaWeb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->scrollAreaWeb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Nothing to scroll, so no stop of its own for the keyboard.
    ui->scrollAreaWeb->setFocusPolicy(Qt::NoFocus);
}

void customWidget::applyCustomization()
{
    ui->label_title->setText(Customization::displayName());
    ui->label_logo->setPixmap(QPixmap(Customization::filePath(Customization::IconFile)));
    ui->label_logo->setScaledContents(true);
}

void customWidget::updateResizeIcon(bool maximized)
{
    // Drawn from the picture file itself, at the button's size: the icon
    // engine takes the sharpest variant for the screen's pixel density.
    const QString image = maximized ? QStringLiteral(":/images/normal_white.png")
                                    : QStringLiteral(":/images/maximum_white.png");
    ui->toolResize->setIconSize(ui->toolResize->size());
    ui->toolResize->setIcon(QIcon(image));
    // Names what the next click does.
    const QString action = maximized ? tr("Restore") : tr("Maximize");
    ui->toolResize->setToolTip(action);
    ui->toolResize->setAccessibleName(action);
}

void customWidget::on_toolClose_clicked()
{
    emit closeClicked();
}

void customWidget::on_toolResize_clicked()
{
    emit resizeClick();
}

void customWidget::on_toolMinimum_clicked()
{
    emit minimumClicked();
}
