#include "mixeridentity.h"

#include "simoptions.h"

QString expandPlaceholders(const QString &text, int index, const QHostAddress &address)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (text[i] == QLatin1Char('%') && next == QLatin1Char('n')) {
            out += QString::number(index);
            ++i;
        } else if (text[i] == QLatin1Char('%') && next == QLatin1Char('a')) {
            out += address.toString();
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

QList<MixerIdentity> mixersFrom(const SimOptions &options)
{
    QList<MixerIdentity> mixers;
    for (const QHostAddress &address : options.addresses) {
        const int index = int(mixers.size()) + 1;
        mixers.append({index, address, expandPlaceholders(options.nameTemplate, index, address),
                       options.model});
    }
    return mixers;
}
