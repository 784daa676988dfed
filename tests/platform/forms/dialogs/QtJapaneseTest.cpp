// Qt's own dialogs and edit menus speak Japanese once Qt's translations are
// installed as the start-up installs them.
#include "platform/forms/dialogs/QtJapanese.h"
#include "platform/forms/controls/RichTextPane.h"

#include <QAbstractFileIconProvider>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHash>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <memory>

namespace {

TEST(QtJapanese, StandardDialogsAndEditMenusReadInJapanese) {
    const std::unique_ptr<QTranslator> installed(qtja::installQtJapanese(*QCoreApplication::instance()));
    ASSERT_NE(installed, nullptr) << "Qt's Japanese translations (scripts/install-deps)";
    struct Case {
        const char* context;
        const char* english;
        const char* japanese;
    };
    const Case cases[] = {
        {"QPlatformTheme", "Cancel", "キャンセル"},      {"QPlatformTheme", "&Yes", "はい(&Y)"},
        {"QFileDialog", "Look in:", "アドレス:"},        {"QFileDialog", "File &name:", "ファイル名(&N):"},
        {"QWidgetTextControl", "&Undo", "元に戻す(&U)"}, {"QWidgetTextControl", "&Redo", "やり直す(&R)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QCoreApplication::translate(c.context, c.english), QString::fromUtf8(c.japanese))
            << c.english;

    // As the operator meets them: a dialog's buttons and a pane's edit menu.
    const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    RichTextPane pane;
    pane.setUndoRedoEnabled(true);
    const std::unique_ptr<QMenu> menu(pane.createStandardContextMenu());
    QStringList items;
    for (const QAction* a : menu->actions())
        items << a->text().section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(items.contains(QStringLiteral("元に戻す(&U)"))) << items.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(items.contains(QStringLiteral("やり直す(&R)"))) << items.join(QLatin1Char(' ')).toStdString();
}

} // namespace

namespace {

// The desktop's locale is English: Qt's dates, numbers and the kinds of the
// file dialog's entries come out Japanese all the same.
TEST(QtJapanese, TheProgramsLocaleIsJapaneseWhateverTheDesktopSays) {
    const char* const names[] = {"LC_ALL", "LC_CTYPE", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES"};
    QHash<QByteArray, QByteArray> saved;
    for (const char* name : names)
        if (qEnvironmentVariableIsSet(name)) saved.insert(name, qgetenv(name));
    const QLocale before;
    qputenv("LC_ALL", "en_GB.UTF-8");
    qunsetenv("LC_CTYPE");
    qtja::useJapaneseLocale();
    EXPECT_FALSE(qEnvironmentVariableIsSet("LC_ALL"));
    EXPECT_EQ(qgetenv("LC_CTYPE"), "en_GB.UTF-8") << "the character type stays the desktop's";
    EXPECT_EQ(qgetenv("LC_TIME"), "ja_JP.UTF-8");
    EXPECT_EQ(qgetenv("LC_NUMERIC"), "ja_JP.UTF-8");
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 7), QLocale::ShortFormat), QStringLiteral("2026/12/07"));

    const std::unique_ptr<QTranslator> installed(qtja::installQtJapanese(*QCoreApplication::instance()));
    QFileSystemModel model;
    EXPECT_EQ(model.iconProvider()->type(QFileInfo(QDir::tempPath())), QStringLiteral("フォルダー"));

    QLocale::setDefault(before);
    for (const char* name : names)
        if (saved.contains(name))
            qputenv(name, saved.value(name));
        else
            qunsetenv(name);
}

} // namespace
