// The log entry's area-code look-ups over the demo master data: a typed code,
// the initial-letter search by key and by the "市郡区" menu, and their messages.
#include "logwindows/LogFixture.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "platform/forms/text/TextRule.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QInputMethodEvent>
#include <QPointer>

namespace {

class AreaCodes : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        ASSERT_TRUE(hamlog::demo::writeMasterData(dataPath()));
        log = &forms::TEMP_LOG();
        log->show();
        ui::script::clearAsked();
    }

    void search(const char* call, Qt::Key key, const QString& initial) {
        log->Text1->setText(QString::fromLatin1(call));
        log->Text9->setFocus();
        QTest::keyClick(log->Text9, key);
        type(initial);
        QTest::keyClick(log->Text18, Qt::Key_Return);
    }
    // Japanese comes through the input method, letters from the keys.
    void type(const QString& text) {
        if (text.isEmpty()) return;
        if (text[0].unicode() < 0x80) {
            QTest::keyClicks(log->Text18, text);
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(log->Text18, &commit);
    }
    static QStringList codes() {
        QStringList list;
        if (!forms::isLoaded<CODE_LIST>()) return list;
        logwindows::FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
        for (int r = 1; r < grid.rows(); ++r)
            list << grid.text(r, 1).trimmed();
        return list;
    }

    TEMP_LOG* log = nullptr;
};

TEST_F(AreaCodes, DownInTheCodeBoxLooksTheCodeUp) {
    log->Text9->setText(QStringLiteral("1101"));
    QTest::keyClick(log->Text9, Qt::Key_Down);
    EXPECT_EQ(log->Text13->text(), QStringLiteral("横浜市"));
    EXPECT_EQ(codes(), QStringList{"1101"});
    EXPECT_EQ(forms::CODE_LIST().MSFlexGrid1->text(0, 3), QStringLiteral("IDX"));
    EXPECT_EQ(logbook::g.CodeListExtended, 1);
    EXPECT_EQ(forms::CODE_LIST().MSFlexGrid1->text(1, 5 + 8), QStringLiteral("W")) << "worked on 28 MHz";

    // A pick from it gives code and QTH only, no local time.
    log->Text13->clear();
    logbook::g.LocalTimeText.clear();
    forms::CODE_LIST().Pick(1);
    EXPECT_EQ(log->Text13->text().trimmed(), QStringLiteral("横浜市"));
    EXPECT_TRUE(logbook::g.LocalTimeText.isEmpty());

    const struct {
        const char* code;
        bool message;
    } misses[] = {{"9999", true}, {"110", false}, {"", false}};
    for (const auto& m : misses) {
        SCOPED_TRACE(m.code);
        ui::script::clearAsked();
        log->Text9->setText(QString::fromLatin1(m.code));
        log->Text13->setText(QStringLiteral("kept"));
        QTest::keyClick(log->Text9, Qt::Key_Down);
        EXPECT_EQ(askedPrompts(), m.message
                                      ? QStringList{QStringLiteral("このコードはマスタデータに存在しません")}
                                      : QStringList{});
        EXPECT_EQ(log->Text13->text(), QStringLiteral("kept"));
        EXPECT_FALSE(forms::isLoaded<CODE_LIST>());
    }
}

TEST_F(AreaCodes, AnUnloadedWindowsCodeBoxNoLongerLooksUp) {
    QPointer<QLineEdit> oldCodeBox = log->Text9;
    log->Text9->setText(QStringLiteral("9999"));
    logbook::g.LogEntrySaved = 1;
    forms::unload<TEMP_LOG>();
    // The old window is on its way out; a key that still reaches its box is the box's own.
    ASSERT_FALSE(oldCodeBox.isNull());
    QTest::keyClick(oldCodeBox, Qt::Key_Down);
    QTest::keyClick(oldCodeBox, Qt::Key_F5);
    EXPECT_TRUE(askedPrompts().isEmpty());
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>());
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
}

TEST_F(AreaCodes, AnInitialListsTheAreasOfTheCallArea) {
    search("QQ1ABC", Qt::Key_F5, QStringLiteral("は"));
    EXPECT_EQ(codes(), QStringList{"1002"});
    EXPECT_EQ(log->Text9->text(), QStringLiteral("1002"));
    EXPECT_EQ(log->Text13->text(), QStringLiteral("八王子市"));
    EXPECT_FALSE(log->Frame2->isVisible());

    // Without a digit in the call every area is listed, the first match filling the entry.
    search("ABCDEF", Qt::Key_F5, QStringLiteral("は"));
    EXPECT_EQ(codes(), (QStringList{"1002", "0102"}));
    EXPECT_EQ(log->Text9->text(), QStringLiteral("1002"));

    // The county of the third area; the "/" part decides the area.
    log->Text2->setText(QStringLiteral("3"));
    search("QQ1ABC", Qt::Key_F6, QStringLiteral("が"));
    EXPECT_EQ(codes(), QStringList{"25001"});
    log->Text2->clear();

    ui::script::clearAsked();
    log->Text9->setText(QStringLiteral("kept"));
    search("QQ1ABC", Qt::Key_F5, QStringLiteral("ぬ"));
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("その頭文字は見つかりません。")});
    EXPECT_EQ(log->Text9->text(), QStringLiteral("kept"));

    // F4 searches the DX entities by prefix.
    search("QQ1ABC", Qt::Key_F4, QStringLiteral("dl"));
    EXPECT_EQ(codes(), QStringList{"230"});
}

TEST_F(AreaCodes, TheSearchFrameTellsWhatItLooksForAndCancels) {
    log->Text1->setText(QStringLiteral("QQ8ABC"));
    log->Text9->setText(QStringLiteral("0101"));
    ASSERT_TRUE(zvtest::waitExposed(log));
    const int statusHeight = log->StatusBar1->height();
    const int height = log->height();
    log->Text9->setFocus();
    QTest::keyClick(log->Text9, Qt::Key_F8);
    EXPECT_TRUE(log->Frame2->isVisible());
    EXPECT_EQ(log->Label16->text(), QStringLiteral("8ｴﾘｱの町名"));
    EXPECT_EQ(log->focusWidget(), log->Text18);
    type(QStringLiteral("み"));
    QTest::keyClick(log->Text18, Qt::Key_Escape);
    EXPECT_FALSE(log->Frame2->isVisible());
    EXPECT_TRUE(log->Text18->text().isEmpty());
    EXPECT_EQ(log->Text9->text(), QStringLiteral("0101"));
    // The window lays itself out again; the status bar keeps its own height.
    QApplication::sendPostedEvents(log, QEvent::LayoutRequest);
    EXPECT_EQ(log->StatusBar1->height(), statusHeight);
    EXPECT_EQ(log->height(), height) << "no blank bands where the frame was";

    // A click on "Code" offers the kinds; the county of area 3.
    log->Text2->setText(QStringLiteral("3"));
    QMenu* kinds = zvtest::popupByClick(log->Label9, Qt::LeftButton);
    ASSERT_EQ(kinds, log->JCCG);
    ASSERT_TRUE(zvtest::chooseInPopup(kinds, log->CGUN));
    EXPECT_EQ(log->Label16->text(), QStringLiteral("3ｴﾘｱの郡名"));
    EXPECT_EQ(ui::textLimit(log->Text18), 1);
    QTest::mouseClick(log->Command1, Qt::LeftButton);
    EXPECT_FALSE(log->Frame2->isVisible());
    EXPECT_EQ(logbook::g.CodeListExtended, 0);
    QApplication::sendPostedEvents(log, QEvent::LayoutRequest);
    EXPECT_EQ(log->height(), height);

    // The DX kind takes up to three letters.
    kinds = zvtest::popupByClick(log->Label9, Qt::LeftButton);
    ASSERT_TRUE(zvtest::chooseInPopup(kinds, log->CDX));
    EXPECT_EQ(log->Label16->text(), QStringLiteral("DXｴﾝﾃｨﾃｨ"));
    EXPECT_EQ(ui::textLimit(log->Text18), 3);
}

TEST_F(AreaCodes, AStoredRecordKeepsItsEditsThroughALookUp) {
    fillLog(1);
    log = &openFromMain(QString());
    QTest::mouseClick(log->Command2, Qt::LeftButton); // back to the stored QSO
    ASSERT_EQ(log->Text1->text(), QStringLiteral("QQ1AA1"));
    log->Text12->setFocus();
    log->Text12->selectAll();
    QTest::keyClicks(log->Text12, QStringLiteral("edited"));
    search("QQ1ABC", Qt::Key_F5, QStringLiteral("た"));
    EXPECT_EQ(codes(), QStringList{"1003"});
    EXPECT_EQ(log->Text12->text(), QStringLiteral("edited"));
}

} // namespace
