#include "demo/democaptions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>

namespace {

QString translated(const QByteArray &source)
{
    return QCoreApplication::translate("demo", source.constData());
}

}  // namespace

void DemoCaptions::add(QLabel *label, const QByteArray &source)
{
    labels.append({label, source});
}

void DemoCaptions::add(QAbstractButton *button, const QByteArray &source)
{
    buttons.append({button, source});
}

void DemoCaptions::add(QComboBox *comboBox, const QByteArrayList &items)
{
    // The entries exist from the start; their texts come with apply().
    while (comboBox->count() < items.size())
        comboBox->addItem(QString());
    comboBoxes.append({comboBox, items});
}

void DemoCaptions::apply() const
{
    for (const auto &[label, source] : labels)
        label->setText(translated(source));
    for (const auto &[button, source] : buttons)
        button->setText(translated(source));
    for (const auto &[comboBox, items] : comboBoxes) {
        for (int i = 0; i < items.size(); ++i)
            comboBox->setItemText(i, translated(items.at(i)));
    }
}
