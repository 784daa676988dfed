// Qt's own dialogs and edit menus speak Japanese once Qt's translations are
// installed as the start-up installs them.
#include "platform/QtJapanese.h"
#include "platform/RichTextPane.h"

#include <QDialogButtonBox>
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
