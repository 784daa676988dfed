#include "logwindows/lookups/QSODATA.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/lookups/GridPictures.h"
#include "logwindows/lookups/QsoGridLayout.h"
#include "platform/forms/windows/WindowFrame.h"

#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/EarlierQsos.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/ListPlaces.h"
#include "platform/forms/controls/StatusPanels.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace {

constexpr int kTwips = 15;
const QString kPos = QStringLiteral("CFGPOS");
} // namespace

QSODATA::QSODATA() : MSFlexGrid1(new logwindows::FlexGrid(logbook::kQsoColumns)), menus(new QMenuBar(this)) {
    LOGCL = menus->addAction(QStringLiteral("閉じる"));
    eQSLmode = menus->addAction(QStringLiteral("電子QSLモードへ"));
    eQSLselhou = menus->addMenu(QStringLiteral("選択方法"));
    eQSLsel = eQSLselhou->addAction(QStringLiteral("個別選択"));
    eQSLall = eQSLselhou->addAction(QStringLiteral("全件選択"));
    eQSLsend = menus->addAction(QStringLiteral("電子QSL送信"));
    eQSLtype = menus->addAction(QStringLiteral("QSOBank"));
    QSODat_HELP = menus->addAction(QStringLiteral("Help"));
    logwindows::keepMenuItemPictures(*menus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus);
    layout->addWidget(MSFlexGrid1);
    connect(LOGCL, &QAction::triggered, this, &QSODATA::LOGCL_Click);
    connect(QSODat_HELP, &QAction::triggered, this, [] { terminal::mainwindow::OpenHelpContext(6); });
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, [this] { MSFlexGrid1_Click(); });
    connect(MSFlexGrid1, &QTableWidget::cellDoubleClicked, this, [this] { MSFlexGrid1_DblClick(); });
    connect(eQSLmode, &QAction::triggered, this, &QSODATA::eQSLmode_Click);
    connect(eQSLall, &QAction::triggered, this, &QSODATA::eQSLall_Click);
    connect(eQSLsel, &QAction::triggered, this, &QSODATA::eQSLsel_Click);
    connect(eQSLtype, &QAction::triggered, this, &QSODATA::eQSLtype_Click);
    connect(eQSLsend, &QAction::triggered, this, &QSODATA::eQSLsend_Click);
}

void QSODATA::Form_Load() {
    EqslMode = 0;
    showEqslMenus();
    // The place and the column widths are read from one reading of the settings.
    core::IniBatch together;
    const QSize screen = logwindows::screenTwips();
    const logwindows::TwipsPlace place = logwindows::earlierQsoListPlace(
        core::IniWhole(kPos, QStringLiteral("LOGVPOSTop")),
        core::IniWhole(kPos, QStringLiteral("LOGVPOSLeft")),
        core::IniWhole(kPos, QStringLiteral("LOGVPOSWidth")), screen.width(), screen.height());
    winframe::placeFrame(this, QPoint(place.left / kTwips, place.top / kTwips));
    resize(place.width / kTwips, 2445 / kTwips);
    SetupQsoGrid();
}

void QSODATA::Form_Reset() {
    logwindows::clearListWindow(*this, *MSFlexGrid1);
}

void QSODATA::SetupQsoGrid() {
    setWindowTitle(logbook::g.WkdCall + QStringLiteral("局とのＱＳＯデータ"));
    MSFlexGrid1->setRows(1);
    logwindows::layOutQsoGrid(*MSFlexGrid1, logwindows::storedQsoWidths(logbook::kQsoColumns));
}

void QSODATA::Form_Unload() {
    // Every check closes the list: its widths and place go out in one write.
    core::IniBatch together;
    logwindows::storeQsoWidths(*MSFlexGrid1, logbook::kQsoColumns);
    core::PutIniText(kPos, "LOGVPOSTop", QString::number(y() * kTwips));
    core::PutIniText(kPos, "LOGVPOSLeft", QString::number(x() * kTwips));
    core::PutIniText(kPos, "LOGVPOSWidth", QString::number(width() * kTwips));
}

void QSODATA::MSFlexGrid1_Click() {
    int& searchOnly = logwindows::callCheck.CallSearchOnly;
    if (searchOnly == 1) {
        searchOnly = 0;
        return;
    }
    const int r = MSFlexGrid1->selectedRow();
    if (r < 1) return;
    if (EqslMode == 1) {
        MSFlexGrid1->setText(r, 0, logbook::toggledCell(MSFlexGrid1->text(r, 0), logbook::qsoRowLabel(r)));
        return;
    }
    const auto cell = [this, r](int col) { return MSFlexGrid1->text(r, col).trimmed(); };
    const QString name = cell(logbook::kQsoColName), qth = cell(logbook::kQsoColQth);
    const logwindows::QsoBoxes boxes = logwindows::operatingBoxes();
    logwindows::PutIntoQsoBox(boxes.name, name);
    if (logbook::g.HamlogLink == 1) {
        TEMP_LOG& log = forms::TEMP_LOG();
        log.Text12->setText(name);
        log.Text9->setText(cell(logbook::kQsoColCode));
        log.Text13->setText(qth);
        log.Text10->setText(cell(logbook::kQsoColGl));
    }
    if (boxes.status) boxes.status->setText(1, qth + QStringLiteral("   ") + name);
}

void QSODATA::MSFlexGrid1_DblClick() {
    if (EqslMode != 1) forms::unload<QSODATA>();
}

void QSODATA::LOGCL_Click() {
    logwindows::callCheck.CallSearchOnly = 0;
    forms::unload<QSODATA>();
}

void QSODATA::closeEvent(QCloseEvent* e) {
    logwindows::callCheck.CallSearchOnly = 0;
    e->ignore();
    forms::unload<QSODATA>();
}
