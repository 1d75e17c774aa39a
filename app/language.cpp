#include "app/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <optional>

#include "app/logcategories.h"

namespace {

enum LanguageCode { English = 0, SimplifiedChinese = 1, TraditionalChinese = 2, Spanish = 3 };

int chineseLanguageCode(const QLocale &locale)
{
    const QString script = QLocale::scriptToString(locale.script());
    qCCritical(lcStartup).noquote() << "main" << __LINE__ << "Lang type: " << script;
    const int traditionalAt = script.indexOf(QLatin1String("Traditional"));
    qCCritical(lcStartup).noquote() << "系统语言：" << 1 << locale.name() << traditionalAt;
    if (traditionalAt < 0) {
        qCDebug(lcStartup) << "当前语言是简体中文";
        return SimplifiedChinese;
    }
    qCDebug(lcStartup) << "当前语言是繁体中文";
    return TraditionalChinese;
}

// The code detected at this start when the settings file could not keep it
// (its folder or the file not writable, the file unreadable or malformed). The interface
// must still follow the system's language rather than fall back to English.
std::optional<int> unsavedLanguageCode;

}  // namespace

QString settingsFilePath()
{
    return QDir::homePath() + QLatin1String("/Documents/") + QCoreApplication::applicationName() +
           QLatin1String(".ini");
}

void detectSystemLanguage()
{
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    const QLocale locale = QLocale::system();
    int code = English;
    switch (locale.language()) {
        case QLocale::English:
            qCCritical(lcStartup) << "main" << __LINE__ << "English system";
            settings.setValue(QStringLiteral("Language/Language_mode"), 1);
            break;
        case QLocale::Chinese:
            qCCritical(lcStartup) << "main" << __LINE__ << "中文系统";
            code = chineseLanguageCode(locale);
            break;
        case QLocale::Spanish:
            qCCritical(lcStartup) << "main" << __LINE__ << "西班牙语";
            code = Spanish;
            break;
        default:
            qCCritical(lcStartup) << "main" << __LINE__ << "default:English system";
            break;
    }
    settings.setValue(QStringLiteral("Language/Language_enum"), code);
    settings.sync();
    // QSettings keeps the first error it meets: a file both malformed and
    // read-only reports the format error. Either way what it holds now is
    // not what this start detected.
    if (settings.status() != QSettings::NoError)
        unsavedLanguageCode = code;
    else
        unsavedLanguageCode.reset();
}

void setAppLanguage(QTranslator *translator)
{
    static const char *const catalogues[] = {
        ":/Resource/main_widget_en.qm",
        ":/Resource/main_widget_zh.qm",
        ":/Resource/main_widget_tc.qm",
        ":/Resource/main_widget_sp.qm",
    };
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    const int code = unsavedLanguageCode.value_or(
        settings.value(QStringLiteral("Language/Language_enum"), 0).toInt());
    const bool known = code >= English && code <= Spanish;
    if (!known || !translator->load(QString::fromLatin1(catalogues[code])))
        qCDebug(lcStartup) << "main" << __LINE__ << "setAppLanguage"
                           << "setLanguage Failed";
}
