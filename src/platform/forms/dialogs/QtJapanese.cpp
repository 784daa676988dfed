#include "platform/forms/dialogs/QtJapanese.h"

#include <QHash>
#include <QLibraryInfo>
#include <QLocale>

namespace qtja {

namespace {

const QByteArray kJapanese = QByteArrayLiteral("ja_JP.UTF-8");

// Texts of Qt that its Japanese translation leaves in English.
class MissingTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        static const QHash<QByteArray, QString> kinds{{"Drive", QStringLiteral("ドライブ")},
                                                      {"Folder", QStringLiteral("フォルダー")},
                                                      {"File Folder", QStringLiteral("フォルダー")},
                                                      {"Alias", QStringLiteral("エイリアス")},
                                                      {"Shortcut", QStringLiteral("ショートカット")},
                                                      {"%1 File", QStringLiteral("%1 ファイル")},
                                                      {"File", QStringLiteral("ファイル")}};
        return kinds.value(QByteArray(source));
    }
    bool isEmpty() const override { return false; }
};

bool japanese(const QByteArray& name) {
    return name.startsWith("ja");
}

} // namespace

void useJapaneseLocale() {
    // LC_ALL would override every category: its value stays for the character type only.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty() && !japanese(all)) {
        if (qgetenv("LC_CTYPE").isEmpty()) qputenv("LC_CTYPE", all);
        qunsetenv("LC_ALL");
    }
    if (!japanese(qgetenv("LC_ALL")))
        for (const char* category : {"LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LC_MESSAGES", "LC_COLLATE"})
            qputenv(category, kJapanese);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

QTranslator* installQtJapanese(QCoreApplication& app) {
    auto* missing = new MissingTexts(&app);
    QCoreApplication::installTranslator(missing);
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace qtja
