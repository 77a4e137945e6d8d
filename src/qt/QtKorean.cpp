#include "qt/QtKorean.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ostravion::gui {

namespace {

QString& LoadedFrom() {
    static QString folder;
    return folder;
}

} // namespace

bool InstallQtKorean() {
    if (!LoadedFrom().isEmpty())
        return true;
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    const QStringList folders = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    // The translator lives as long as the program.
    static QTranslator translator;
    for (const QString& folder : folders) {
        if (translator.load(QStringLiteral("qtbase_ko"), folder) &&
            QCoreApplication::installTranslator(&translator)) {
            LoadedFrom() = folder;
            return true;
        }
    }
    return false;
}

QString QtKoreanFolder() {
    return LoadedFrom();
}

} // namespace ostravion::gui
