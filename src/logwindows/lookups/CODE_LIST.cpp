#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/GridPictures.h"
#include "platform/forms/windows/WindowFrame.h"

#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LocalTime.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "logwindows/lookups/ListPlaces.h"
#include "logwindows/lookups/QsoGridLayout.h"
#include "platform/forms/controls/StatusPanels.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

constexpr int kTwips = 15;
const QString kPos = QStringLiteral("CFGPOS");

const char* const kHeaders[] = {"件数", "CODE", "QTH",  "Prfx", "AREA", "1.9M", "3.5M", "7M",
                                "10M",  "14M",  "18M",  "21M",  "24M",  "28M",  "50M",  "144M",
                                "430M", "1.2G", "2.4G", "5.6G", "",     "",     ""};

void setStatus(const QString& text) {
    if (StatusPanels* status = logwindows::operatingBoxes().status) status->setText(1, text);
}

// The window sees Enter before its grid does; the filter goes with the window.
class CodeListKeys : public forms::WindowFilter {
  public:
    explicit CodeListKeys(CODE_LIST& w) : WindowFilter(&w), w_(w) { watch(w.MSFlexGrid1); }

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        w_.Form_KeyPress(key);
        return true;
    }

  private:
    CODE_LIST& w_;
};

} // namespace

CODE_LIST::CODE_LIST() : MSFlexGrid1(new logwindows::FlexGrid(kColumns)), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("CODE LIST"));
    CLSCD = menus->addAction(QStringLiteral("閉じる"));
    logwindows::keepMenuItemPictures(*menus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus);
    layout->addWidget(MSFlexGrid1);
    connect(CLSCD, &QAction::triggered, this, [this] {
        completePick();
        closeByOperator(false);
    });
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, [this](int row) { Pick(row + 1); });
    // The grid's focus-in sets a current cell where there was none (activating
    // the window does so): only a move from one row to another is a pick.
    connect(MSFlexGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous) {
        if (row >= 0 && previous >= 0 && row != previous) Pick(row + 1);
    });
    connect(MSFlexGrid1, &QTableWidget::cellDoubleClicked, this, [this] { closeByOperator(true); });
    new CodeListKeys(*this);
}

void CODE_LIST::Form_Load() {
    RowPicked = 0;
    core::IniBatch together;
    const QSize twips = logwindows::screenTwips();
    const logwindows::TwipsPlace place = logwindows::codeListPlace(
        core::IniWhole(kPos, QStringLiteral("CDLSTPOSTop")),
        core::IniWhole(kPos, QStringLiteral("CDLSTPOSLeft")),
        core::IniWhole(kPos, QStringLiteral("CDLSTPOSWidth")), twips.width(), twips.height());
    winframe::placeFrame(this, QPoint(place.left / kTwips, place.top / kTwips));
    resize(place.width / kTwips, 2400 / kTwips);
    const int widths[] = {0, 720, 2760, 480, 600};
    for (int c = 0; c < kColumns; ++c) {
        MSFlexGrid1->setCentred(c, c >= 3 && c <= 19);
        MSFlexGrid1->setColWidth(c, c < 5 ? widths[c] : c < 20 ? 600 : 0);
        MSFlexGrid1->setHeader(c, QString::fromUtf8(kHeaders[c]));
    }
    MSFlexGrid1->setFixedCols(kFixedCols);
    if (logbook::g.CodeListExtended == 1) MSFlexGrid1->setHeader(3, QStringLiteral("IDX"));
    clearRows();
}

void CODE_LIST::Form_Reset() {
    PickedRow = 0;
    closing_ = false;
    logwindows::clearListWindow(*this, *MSFlexGrid1);
}

void CODE_LIST::clearRows() {
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setRows(2);
}

void CODE_LIST::Form_Unload() {
    storePlace();
}

void CODE_LIST::storePlace() {
    core::IniBatch together;
    core::PutIniText(kPos, "CDLSTPOSTop", QString::number(y() * kTwips));
    core::PutIniText(kPos, "CDLSTPOSLeft", QString::number(x() * kTwips));
    core::PutIniText(kPos, "CDLSTPOSWidth", QString::number(width() * kTwips));
}

bool CODE_LIST::takeLongitude(int row) {
    bool ok = false;
    const int degrees = MSFlexGrid1->text(row, kColLongitude).trimmed().toInt(&ok);
    if (!ok || row < 1 || row >= MSFlexGrid1->rows()) return false;
    logbook::g.Longitude = degrees;
    logbook::g.LongitudeSide = MSFlexGrid1->text(row, kColSide);
    // The district's longitude belongs to the entry it came with, not to
    // another entry picked from the same list.
    const auto district = logbook::districtLongitude(MSFlexGrid1->text(row, 1), logbook::g.PrefixCall);
    logbook::g.DistrictLongitudeOn = district ? 1 : 0;
    if (district) logbook::g.DistrictLongitude = *district;
    return true;
}

void CODE_LIST::showLocalTimeOf(int row) {
    if (!takeLongitude(row)) return;
    if (logbook::g.HamlogLink != 1) return;
    logbook::g.LocalTimeText.clear();
    logwindows::ShowLocalTime();
    if (!logbook::g.LocalTimeText.isEmpty())
        setStatus(MSFlexGrid1->text(row, 2) + QStringLiteral("Local Time=> ") + logbook::g.LocalTimeText);
}

void CODE_LIST::Pick(int row) {
    if (closing_ || row < 1 || row >= MSFlexGrid1->rows()) return;
    RowPicked = 1;
    PickedRow = row;
    if (logbook::g.HamlogLink == 1) {
        TEMP_LOG& log = forms::TEMP_LOG();
        log.Text9->setText(MSFlexGrid1->text(row, 1));
        log.Text13->setText(MSFlexGrid1->text(row, 2));
    }
    setStatus(MSFlexGrid1->text(row, 2));
    if (logbook::g.CodeListExtended != 1) showLocalTimeOf(row);
}

void CODE_LIST::completePick() {
    if (logbook::g.CodeListExtended != 1) {
        if (RowPicked == 0) takeLongitude(1);
        if (logbook::g.HamlogLink == 1) logwindows::ShowLocalTime();
    }
    logbook::g.CodeListExtended = 0;
}

void CODE_LIST::closeByOperator(bool storeThePlace) {
    logbook::g.CodeListExtended = 0;
    closing_ = true;
    if (storeThePlace) storePlace();
    forms::unload<CODE_LIST>();
}

void CODE_LIST::Form_KeyPress(int key) {
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || logbook::g.HamlogLink != 1) return;
    completePick();
    closeByOperator(false);
}

void CODE_LIST::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Form_KeyPress(e->key());
        return;
    }
    QWidget::keyPressEvent(e);
}

void CODE_LIST::closeEvent(QCloseEvent* e) {
    e->ignore();
    completePick();
    closeByOperator(true);
}

void CODE_LIST::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !isActiveWindow() || closing_) return;
    // Coming back to the list shows the local time of the row last picked.
    if (logbook::g.CodeListExtended != 1) showLocalTimeOf(RowPicked == 1 ? PickedRow : 1);
}
