// The earlier-QSO list and the area-code list as the operator uses them:
// places and widths kept, picks, and the ways to close them.
#include "core/ini/IniValues.h"
#include "logwindows/LogFixture.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/ListPlaces.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "support/QsoBoxSetUp.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>

namespace {

using logwindows::FlexGrid;

class ListWindows : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        ASSERT_TRUE(hamlog::demo::writeMasterData(dataPath()));
        logwindows::callCheck = {};
        setJst(QStringLiteral("2024-06-01 10:30"));
        std::vector<hamlog::QsoRecord> records(2);
        records[0].CALL = records[1].CALL = QStringLiteral("QQ1ABC");
        records[0].NAME = QStringLiteral(" 一郎 ");
        records[0].QTH = QStringLiteral(" 八王子市 ");
        records[0].CODE = QStringLiteral("1002");
        records[1].NAME = QStringLiteral("二郎");
        ASSERT_TRUE(hamlog::appendRecords(dataPath(), records));
    }
    void TearDown() override {
        sysclock::resetForTest();
        LogTest::TearDown();
    }

    static void clickCell(FlexGrid& grid, int row, int col, bool twice = false) {
        grid.scrollTo(grid.model()->index(row - 1, col));
        const QPoint at = grid.visualRect(grid.model()->index(row - 1, col)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    }
    static void clickMenu(QMenuBar* bar, QAction* item) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item).center());
    }
    static QString ini(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QString());
    }
    static QString status() { return forms::PSK31MAIN().StatusBar1->text(1); }
};

TEST_F(ListWindows, TheEarlierQsoListKeepsItsWidthsAndPlace) {
    logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
    ASSERT_TRUE(forms::isLoaded<QSODATA>());
    QSODATA& list = forms::QSODATA();
    EXPECT_EQ(list.MSFlexGrid1->colWidth(1), 1290);
    EXPECT_EQ(list.MSFlexGrid1->colWidth(2), 0);
    EXPECT_EQ(list.MSFlexGrid1->colWidth(18), 0);
    // Default widths show their columns' text whole in the font in use.
    logwindows::FlexGrid& grid = *list.MSFlexGrid1;
    for (int col : {1, 3, 4, 5, 6, 8, 9})
        for (int r = 1; r < grid.rows(); ++r)
            EXPECT_LE(grid.fontMetrics().horizontalAdvance(grid.text(r, col)) + 4, grid.columnWidth(col))
                << grid.text(r, col).toStdString();
    EXPECT_EQ(list.pos(), QPoint(0, 0));
    EXPECT_EQ(list.width(), 9135 / 15);
    // The operator widens the name column and moves the window.
    list.MSFlexGrid1->setColumnWidth(11, 100);
    const int dragged = list.MSFlexGrid1->colWidth(11);
    EXPECT_GT(dragged, 960);
    list.move(30, 40);
    clickMenu(list.menus, list.LOGCL);
    EXPECT_FALSE(forms::isLoaded<QSODATA>());
    EXPECT_EQ(ini("LogDisp", "COLWIDTH11"), QString::number(dragged));
    EXPECT_EQ(ini("LogDisp", "COLWIDTH1"), QStringLiteral("1290"));
    EXPECT_EQ(ini("CFGPOS", "LOGVPOSLeft"), QStringLiteral("450"));
    EXPECT_EQ(ini("CFGPOS", "LOGVPOSTop"), QStringLiteral("600"));

    // The next list opens as it was left; a width that is no number takes its default.
    core::PutIniText(QStringLiteral("LogDisp"), "COLWIDTH12", QStringLiteral("wide"));
    core::PutIniText(QStringLiteral("LogDisp"), "COLWIDTH2", QStringLiteral("900"));
    logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
    QSODATA& again = forms::QSODATA();
    EXPECT_EQ(again.MSFlexGrid1->colWidth(11), dragged);
    EXPECT_NEAR(again.MSFlexGrid1->columnWidth(11), 100, 1) << "the width dragged comes back";
    EXPECT_EQ(again.MSFlexGrid1->colWidth(12), 1920);
    EXPECT_EQ(again.MSFlexGrid1->colWidth(2), 0);
    EXPECT_EQ(again.pos(), QPoint(30, 40));
}

TEST_F(ListWindows, AListClosedByTheNextCheckComesBackAsANewOne) {
    logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
    QSODATA* list = &forms::QSODATA();
    // The operator marks a row for the export, scrolls sideways and minimises the list.
    clickMenu(list->menus, list->eQSLmode);
    clickCell(*list->MSFlexGrid1, 1, 1);
    ASSERT_EQ(list->MSFlexGrid1->text(1, 0), QStringLiteral("eQSL"));
    QScrollBar* sideways = list->MSFlexGrid1->horizontalScrollBar();
    QTest::mouseClick(sideways, Qt::LeftButton, {}, QPoint(sideways->width() - 4, sideways->height() / 2));
    ASSERT_GT(sideways->value(), 0);
    list->showMinimized();

    logwindows::CheckCallSign(QStringLiteral("QQ9NEW"));
    EXPECT_FALSE(forms::isLoaded<QSODATA>());
    EXPECT_FALSE(list->isVisible()) << "nothing worked before shows no list";
    logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
    QSODATA& again = forms::QSODATA();
    EXPECT_EQ(&again, list) << "the list is taken up again, not built anew";
    EXPECT_TRUE(again.isVisible());
    EXPECT_FALSE(again.isMinimized());
    EXPECT_EQ(again.EqslMode, 0);
    EXPECT_EQ(again.eQSLmode->text(), QStringLiteral("電子QSLモードへ"));
    EXPECT_EQ(again.MSFlexGrid1->text(1, 0), QStringLiteral(" 01"));
    EXPECT_EQ(again.MSFlexGrid1->horizontalScrollBar()->value(), 0);
}

TEST_F(ListWindows, ARowClickCopiesTheQsoAndADoubleClickCloses) {
    logwindows::CallCheck& check = logwindows::callCheck;
    check.CallSearchOnly = 1;
    logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
    QSODATA& list = forms::QSODATA();
    PSK31MAIN& main = forms::PSK31MAIN();
    TEMP_LOG& log = forms::TEMP_LOG();
    zvtest::clearBox(main.Text6);
    check.CallSearchOnly = 1; // as a search-only check leaves it for the list
    clickCell(*list.MSFlexGrid1, 1, 1);
    EXPECT_TRUE(main.Text6->text().isEmpty()) << "the first click after a search copies nothing";
    EXPECT_EQ(check.CallSearchOnly, 0);
    clickCell(*list.MSFlexGrid1, 1, 1);
    EXPECT_EQ(main.Text6->text(), QStringLiteral("一郎"));
    EXPECT_EQ(log.Text12->text(), QStringLiteral("一郎"));
    EXPECT_EQ(log.Text9->text(), QStringLiteral("1002"));
    EXPECT_EQ(log.Text13->text(), QStringLiteral("八王子市"));
    EXPECT_EQ(status(), QStringLiteral("八王子市   一郎"));

    clickCell(*list.MSFlexGrid1, 2, 1, true);
    EXPECT_EQ(main.Text6->text(), QStringLiteral("二郎"));
    EXPECT_FALSE(forms::isLoaded<QSODATA>());
    EXPECT_FALSE(ini("LogDisp", "COLWIDTH0").isEmpty()) << "every close stores the widths";

    // The close box ends a pending search too.
    logwindows::CheckCallSign(QStringLiteral("QQ1ABC"));
    check.CallSearchOnly = 1;
    forms::QSODATA().close();
    EXPECT_FALSE(forms::isLoaded<QSODATA>());
    EXPECT_EQ(check.CallSearchOnly, 0);
}

TEST_F(ListWindows, TheAreaCodeListPicksAndCloses) {
    // Two entries share "K": no local time until one is picked.
    logwindows::CheckCallSign(QStringLiteral("K1ABC"));
    ASSERT_TRUE(forms::isLoaded<CODE_LIST>());
    CODE_LIST& list = forms::CODE_LIST();
    FlexGrid& grid = *list.MSFlexGrid1;
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.text(2, 0), QStringLiteral("2"));
    TEMP_LOG& log = forms::TEMP_LOG();
    logbook::g.LocalTimeText.clear();
    clickCell(grid, 2, 2);
    EXPECT_EQ(log.Text9->text().trimmed(), QStringLiteral("140A"));
    EXPECT_EQ(log.Text13->text().trimmed(), QStringLiteral("ハワイ"));
    // 157 west: 10 hours before 01:30 UTC.
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("15:30"));
    EXPECT_TRUE(status().endsWith(QStringLiteral("Local Time=> 15:30")));
    EXPECT_EQ(logbook::g.GreetingText, QStringLiteral("Good Afternoon"));

    list.move(15, 30);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>());
    EXPECT_EQ(ini("CFGPOS", "CDLSTPOSTop"), QStringLiteral("450")) << "every close stores the place";

    // Closing without a pick takes row 1's longitude, here the district's of the 1: 75 west.
    logwindows::CheckCallSign(QStringLiteral("K1ABC"));
    logbook::g.LocalTimeText.clear();
    forms::CODE_LIST().close();
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("20:30"));
    EXPECT_EQ(logbook::g.LongitudeSide, QStringLiteral("西経"));
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>());

    // A double click picks and closes.
    logwindows::CheckCallSign(QStringLiteral("K1ABC"));
    EXPECT_EQ(forms::CODE_LIST().pos(), QPoint(15, 30));
    clickCell(*forms::CODE_LIST().MSFlexGrid1, 1, 1, true);
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>());
    EXPECT_EQ(log.Text9->text().trimmed(), QStringLiteral("758"));
}

// The window as Qt's own item views paint it: a painter off the whole pixel
// by a step too small to show copies no picture.
QImage paintedAsQtDoes(QWidget& window, QImage::Format format) {
    QImage image(window.size(), format);
    QPainter painter(&image);
    painter.translate(1.0 / (1 << 20), 0);
    window.render(&painter);
    return image;
}

// The texts of the cells the style itself paints.
struct PaintedCells : QProxyStyle {
    mutable QStringList texts;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (const auto* cell = qstyleoption_cast<const QStyleOptionViewItem*>(option))
            texts << cell->text.trimmed();
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

TEST_F(ListWindows, BothListsLookAsQtPaintsThemFromTheFirstCheckOn) {
    hamlog::QsoRecord k1;
    k1.CALL = QStringLiteral("K1ABC");
    k1.NAME = QStringLiteral("Joe");
    k1.QTH = QStringLiteral("Boston 東");
    ASSERT_TRUE(hamlog::appendRecords(dataPath(), {k1}));
    std::vector<std::pair<QWidget*, QImage>> shown;
    for (int check = 0; check < 2; ++check) {
        logwindows::CheckCallSign(QStringLiteral("K1ABC"));
        ASSERT_TRUE(forms::isLoaded<QSODATA>() && forms::isLoaded<CODE_LIST>());
        // A picked row is painted selected.
        clickCell(*forms::CODE_LIST().MSFlexGrid1, 2, 2);
        for (QWidget* list :
             {static_cast<QWidget*>(&forms::QSODATA()), static_cast<QWidget*>(&forms::CODE_LIST())})
            shown.emplace_back(list, list->grab().toImage());
    }
    for (const auto& [list, image] : shown) {
        const QImage plain = paintedAsQtDoes(*list, image.format());
        ASSERT_EQ(image.size(), plain.size());
        EXPECT_TRUE(image == plain) << list->metaObject()->className();
    }
    // Shown again, a cell is copied from its picture.
    FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
    PaintedCells painted;
    QList<QAbstractItemView*> views = grid.findChildren<QAbstractItemView*>();
    views << &grid; // and its fixed columns'
    for (QAbstractItemView* view : views)
        view->setStyle(&painted);
    const QImage first = grid.grab().toImage();
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("ハワイ")));
    painted.texts.clear();
    EXPECT_TRUE(grid.grab().toImage() == first);
    EXPECT_FALSE(painted.texts.contains(QStringLiteral("ハワイ"))) << painted.texts.join(',').toStdString();
    for (QAbstractItemView* view : views)
        view->setStyle(QApplication::style());
    // A list in another font is measured and painted in it, not from the old one's pictures.
    QSODATA& list = forms::QSODATA();
    const int headerHeight = list.MSFlexGrid1->horizontalHeader()->sizeHint().height();
    QFont larger = list.font();
    larger.setPointSize(larger.pointSize() + 4);
    list.setFont(larger);
    QCoreApplication::processEvents();
    EXPECT_GT(list.MSFlexGrid1->horizontalHeader()->sizeHint().height(), headerHeight);
    const QImage inLarger = list.grab().toImage();
    EXPECT_TRUE(inLarger == paintedAsQtDoes(list, inLarger.format()));
    // In other colours, in them: the text, the header's and the menu's alike.
    QPalette red = list.palette();
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        red.setColor(role, Qt::red);
    list.setPalette(red);
    QCoreApplication::processEvents();
    const QImage inRed = list.grab().toImage();
    EXPECT_TRUE(inRed == paintedAsQtDoes(list, inRed.format()));
    EXPECT_TRUE(inRed != inLarger);
    // A cell larger than all the pictures kept together is painted all the same.
    list.resize(1300, 800);
    list.MSFlexGrid1->setColumnWidth(1, 1100);
    list.MSFlexGrid1->setRowHeight(0, 600);
    QCoreApplication::processEvents();
    const QImage wide = list.grab().toImage();
    EXPECT_TRUE(wide == paintedAsQtDoes(list, wide.format()));
}

TEST(ListPlaces, StoredPlacesOffTheScreenFallBackToItsEdge) {
    using logwindows::TwipsPlace;
    const auto eq = [](TwipsPlace a, TwipsPlace b) {
        return a.top == b.top && a.left == b.left && a.width == b.width;
    };
    const int w = 28800, h = 16200;
    EXPECT_TRUE(eq(logwindows::earlierQsoListPlace({}, 300, 5000, w, h), {0, 0, 9135}));
    EXPECT_TRUE(eq(logwindows::earlierQsoListPlace(600, 300, 5000, w, h), {600, 300, 5000}));
    EXPECT_TRUE(eq(logwindows::earlierQsoListPlace(h, -5, 5000, w, h), {0, 0, 5000}));
    EXPECT_TRUE(eq(logwindows::earlierQsoListPlace(-1, w, {}, w, h), {0, 0, 9135}));
    EXPECT_TRUE(eq(logwindows::codeListPlace({}, 300, 5000, w, h), {0, 0, 7875}));
    EXPECT_TRUE(eq(logwindows::codeListPlace(600, 300, {}, w, h), {600, 300, 7755}));
    EXPECT_TRUE(eq(logwindows::codeListPlace(h + 1, w, 5000, w, h), {0, 0, 7875}));
    EXPECT_TRUE(eq(logwindows::codeListPlace(-9, -9, 5000, w, h), {0, 0, 5000}));
}

} // namespace
