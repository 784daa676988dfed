// The windows' menu items and buttons: each one either works or is greyed.
#include "terminal/transmit/TxFixture.h"

#include "core/ini/IniNames.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/os/Cp932.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QTest>
#include <variant>

namespace {

class Menus : public zvtest::TxTest {};

// An item or a button with the caption the operator sees.
struct Greyed {
    std::variant<QAction*, QAbstractButton*> control;
    QString caption;
};

bool isEnabled(const Greyed& g) {
    return std::visit([](auto* c) { return c->isEnabled(); }, g.control);
}
QString caption(const Greyed& g) {
    return std::visit([](auto* c) { return c->text(); }, g.control);
}
void askToEnable(const Greyed& g) {
    std::visit([](auto* c) { c->setEnabled(true); }, g.control);
}

QList<Greyed> mainWindowItems(PSK31MAIN& w) {
    QList<Greyed> rows = {
        {w.CWIDSET, "ＣＷＩＤ参照・設定"},
    };
    return rows;
}

TEST_F(Menus, WhatIsNotBuiltStaysGreyedWhateverAsksToEnableIt) {
    const QList<Greyed> rows = mainWindowItems(*w);
    for (const Greyed& row : rows) {
        SCOPED_TRACE(caption(row).toStdString());
        EXPECT_EQ(caption(row), row.caption);
        EXPECT_FALSE(isEnabled(row));
        askToEnable(row);
        EXPECT_FALSE(isEnabled(row)) << "enabled by the window's own logic";
    }
}

class MenuBar : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
    }
};

TEST_F(MenuBar, ReceivePaneClearItemKeepsThePaneInItsFileAndEmptiesIt) {
    core::PutIniName(QStringLiteral("PSKCFG"), QStringLiteral("RCVDFOL"), folder());
    w->RichTextBox1->setText(QStringLiteral("cq de ja1zvk\r\n東京"));
    ASSERT_EQ(w->RXBC->text(), QStringLiteral("受信画面ｸﾘﾔ(ALT+R)"));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RXBC));
    EXPECT_EQ(readFile(QStringLiteral("NENNOTAMELOG_B4clr.TXT")),
              cp932::encode(QStringLiteral("cq de ja1zvk\r\n東京\r\n")));
    EXPECT_TRUE(w->RichTextBox1->text().isEmpty());
    EXPECT_EQ(w->focusWidget(), w->Text1);
}

TEST_F(MenuBar, VersionItemShowsTheVersionWindowBesideTheMainWindow) {
    ASSERT_EQ(w->VERSHOW->text(), QStringLiteral("バージョン"));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->VERSHOW));
    AboutZORVATEK& about = forms::AboutZORVATEK();
    EXPECT_TRUE(about.isVisible());
    EXPECT_FALSE(about.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
