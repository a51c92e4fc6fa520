#include "core/i18n/QtTranslations.h"

#include "core/i18n/LanguageCode.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include <memory>

Q_LOGGING_CATEGORY(lcQtTranslations, "corvane.i18n.qt")

namespace {

std::unique_ptr<QTranslator> &installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

namespace QtTranslations {

QString folder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool use(const QString &code)
{
    std::unique_ptr<QTranslator> &current = installed();
    if (current) {
        // Once the application is gone its translators went with it.
        if (QCoreApplication::instance())
            QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    if (!isLetterCode(code, 2, 3) || !QCoreApplication::instance())
        return false;
    // qtbase holds the widgets' texts; "qt_" would pull in every module.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + code.toLower(), folder())) {
        qCDebug(lcQtTranslations) << "no Qt translation for" << code << "in" << folder();
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    return true;
}

} // namespace QtTranslations
