// The settings sheet's display tab: pane colours and fonts change at once,
// are stored at once and come back after a restart; a cancelled dialog changes
// nothing.
#include "settings/SheetFixture.h"

#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"

namespace {

class CfgSheetDisplay : public sheettest::SheetTest {
  protected:
    // The end of a run and a new start over the same program folder.
    PSK31MAIN& restart() {
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::g = {};
        renewContext();
        main = &forms::PSK31MAIN();
        main->Timer2->stop();
        return *main;
    }
    static QFont font(const char* family, double size, bool bold, bool italic) {
        QFont f(QString::fromLatin1(family));
        f.setPointSizeF(size);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    }
};

TEST_F(CfgSheetDisplay, ColoursAndFontsChangeAtOnceAndSurviveARestart) {
    CFGSHEET& s = open();
    showTab(s, 0);
    const QColor rxBack(0x10, 0x20, 0x30), txBack(0xF0, 0xE0, 0xD0), rxText(0x00, 0x80, 0x00);
    const QFont rxFont = font("DejaVu Sans Mono", 14, true, false);
    const QFont txFont = font("DejaVu Serif", 11.5, false, true);
    ui::script::push(rxBack);
    press(s.Command1);
    ui::script::push(txBack);
    press(s.Command3);
    ui::script::push(QVariantList{rxFont, rxText});
    press(s.Command2);
    ui::script::push(QVariantList{txFont, QColor(Qt::red)});
    press(s.Command4);
    EXPECT_EQ(colour::backColor(main->RichTextBox1), colour::toRef(rxBack)) << "at once";
    EXPECT_EQ(colour::backColor(main->Text1), colour::toRef(txBack));
    EXPECT_EQ(main->RichTextBox2->font().family(), rxFont.family());
    EXPECT_EQ(colour::foreColor(main->RichTextBox1), colour::toRef(rxText));
    EXPECT_EQ(ini("PSKCFG", "RCVBKCLR"), QString::number(colour::toRef(rxBack)));
    EXPECT_EQ(ini("PSKCFG", "RCVFNAME"), rxFont.family());
    EXPECT_EQ(ini("PSKCFG", "TXFITAL"), QStringLiteral("True"));

    // Cancelled dialogs store nothing and change no pane.
    const QString sentColour = ini("PSKCFG", "TXARCLR");
    ui::script::push(QVariant());
    press(s.Command5);
    ui::script::push(QVariant());
    press(s.Command1);
    ui::script::push(QVariant());
    press(s.Command4);
    EXPECT_EQ(ini("PSKCFG", "TXARCLR"), sentColour);
    EXPECT_EQ(colour::backColor(main->RichTextBox1), colour::toRef(rxBack));
    EXPECT_EQ(ini("PSKCFG", "TXFNAME"), txFont.family());
    // A font whose name the file cannot hold is refused at its chooser, whole.
    QFont unheld(QStringLiteral("Z〜é€Mono"));
    unheld.setPointSizeF(20);
    ui::script::push(QVariantList{unheld, QColor(Qt::blue)});
    press(s.Command2);
    EXPECT_TRUE(asked(QStringLiteral("「受信文字種」の「〜é€」は設定ファイルに保存できない文字です。\n"
                                     "別の文字に直して下さい。")));
    EXPECT_EQ(main->RichTextBox2->font().family(), rxFont.family());
    EXPECT_EQ(s.focusWidget(), s.Command2);
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));

    PSK31MAIN& again = restart();
    EXPECT_EQ(colour::backColor(again.RichTextBox1), colour::toRef(rxBack));
    EXPECT_EQ(colour::backColor(again.Text1), colour::toRef(txBack));
    EXPECT_EQ(colour::foreColor(again.RichTextBox1), colour::toRef(rxText));
    EXPECT_EQ(colour::foreColor(again.Text1), colour::toRef(QColor(Qt::red)));
    for (QWidget* pane :
         {static_cast<QWidget*>(again.RichTextBox1), static_cast<QWidget*>(again.RichTextBox2)}) {
        EXPECT_EQ(pane->font().family(), rxFont.family());
        EXPECT_EQ(pane->font().pointSizeF(), 14);
        EXPECT_TRUE(pane->font().bold());
    }
    EXPECT_EQ(again.Text1->font().family(), txFont.family());
    EXPECT_EQ(again.Text1->font().pointSizeF(), 11.5);
    EXPECT_TRUE(again.Text1->font().italic());

    // The sheet opened after the restart starts its dialogs from what is stored.
    ASSERT_TRUE(zvtest::chooseMenuItem(again.PSKCFG));
    CFGSHEET& reopened = forms::CFGSHEET();
    showTab(reopened, 0);
    ui::script::clearAsked();
    press(reopened.Command2);
    EXPECT_EQ(lastAsked().kind, QStringLiteral("font"));
    EXPECT_EQ(lastAsked().prompt, rxFont.family());
    press(reopened.Command1);
    EXPECT_EQ(lastAsked().prompt, rxBack.name());
}

} // namespace
