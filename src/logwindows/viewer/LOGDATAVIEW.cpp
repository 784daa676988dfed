#include "logwindows/viewer/LOGDATAVIEW.h"
#include "logwindows/lookups/QsoGridLayout.h"
#include "platform/forms/windows/WindowFrame.h"

#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/EarlierQsos.h"
#include "log/LogGlobals.h"
#include "log/LogViewPage.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/HelpPage.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kTwips = 15;
const QString kPos = QStringLiteral("CFGPOS");
// Columns 0 to 17 keep their widths; the hidden record number is the viewer's own.
constexpr int kStoredWidths = 18;
constexpr int kRecNoCol = 18;

// Raises the viewer once its owner, shown after it, is on the screen: the
// window manager puts a window newly shown on top of those already there.
class RaiseWithOwner : public forms::WindowFilter {
  public:
    RaiseWithOwner(QWidget* viewer, QWidget* owner) : forms::WindowFilter(viewer), viewer_(viewer) {
        watch(owner);
    }

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Show) return false;
        detach();
        // After the owner's own showing has gone out to the window manager.
        QTimer::singleShot(0, viewer_, [viewer = viewer_] { viewer->raise(); });
        forms::destroyLater(this);
        return false;
    }

  private:
    QWidget* viewer_;
};

} // namespace

LOGDATAVIEW::LOGDATAVIEW()
    : MSFlexGrid1(new logwindows::FlexGrid(logbook::kQsoColumns)), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("HAMLOG Data　Viewer"));
    LOGCL = menus->addAction(QStringLiteral("閉じる"));
    GOBACK = menus->addAction(QStringLiteral("<<"));
    LOG_JUMP = menus->addAction(QStringLiteral("JUMP"));
    GOFOWARD = menus->addAction(QStringLiteral(">>"));
    eQSLmode = menus->addAction(QStringLiteral("電子QSLモードへ"));
    eQSLsend = menus->addAction(QStringLiteral("電子QSL送信"));
    eQSLtype = menus->addAction(QStringLiteral("QSOBank"));
    LOGtoADIF = menus->addAction(QStringLiteral("ADIF化"));
    QSODat_HELP = menus->addAction(QStringLiteral("Help"));
    // Dragging over rows selects them, for the range marking of the eQSL mode.
    MSFlexGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    MSFlexGrid1->onMouseUp = [this] { MSFlexGrid1_MouseUp(); };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus);
    layout->addWidget(MSFlexGrid1);
    connect(LOGCL, &QAction::triggered, this, &LOGDATAVIEW::LOGCL_Click);
    connect(GOBACK, &QAction::triggered, this, &LOGDATAVIEW::GOBACK_Click);
    connect(LOG_JUMP, &QAction::triggered, this, &LOGDATAVIEW::LOG_JUMP_Click);
    connect(GOFOWARD, &QAction::triggered, this, &LOGDATAVIEW::GOFOWARD_Click);
    connect(eQSLmode, &QAction::triggered, this, &LOGDATAVIEW::eQSLmode_Click);
    connect(eQSLtype, &QAction::triggered, this, &LOGDATAVIEW::eQSLtype_Click);
    connect(eQSLsend, &QAction::triggered, this, &LOGDATAVIEW::eQSLsend_Click);
    connect(LOGtoADIF, &QAction::triggered, this, &LOGDATAVIEW::LOGtoADIF_Click);
    connect(QSODat_HELP, &QAction::triggered, this, [] { terminal::mainwindow::OpenHelpContext(150); });
}

void LOGDATAVIEW::Form_Load() {
    EqslMode = 0;
    eQSLsend->setEnabled(false);
    eQSLtype->setVisible(false);
    placeFromSettings();
    SetupLogGrid();
    logbook::Globals& g = logbook::g;
    hamlog::SetQsoOrMaster(1);
    if (logwindows::ReopenLog() != hamlog::Done) {
        showOpenFailure();
        return;
    }
    g.HamlogRecCount = hamlog::Vdbf_rcount(g.HamlogHandle);
    PageEnd = g.HamlogRecCount;
    ShowLogPage(PageEnd);
    logwindows::CloseLog();
    loaded_ = true;
}

void LOGDATAVIEW::placeFromSettings() {
    const std::optional<int> top = core::IniWhole(kPos, QStringLiteral("HLDVPOSTop"));
    if (!top) {
        resize(9135 / kTwips, 3135 / kTwips);
        winframe::placeOnScreen(this, 0, 0);
        return;
    }
    resize(core::IniWhole(kPos, QStringLiteral("HLDVPOSWidth")).value_or(9135) / kTwips,
           core::IniWhole(kPos, QStringLiteral("HLDVPOSHeight")).value_or(3135) / kTwips);
    // A place off the screen, before its start too, comes back onto it.
    winframe::placeOnScreen(this, core::IniWhole(kPos, QStringLiteral("HLDVPOSLeft")).value_or(0), *top);
}

void LOGDATAVIEW::SetupLogGrid() {
    MSFlexGrid1->setRows(1);
    const logwindows::StoredQsoWidths stored = logwindows::storedQsoWidths(kStoredWidths);
    logwindows::layOutQsoGrid(*MSFlexGrid1, stored);
    MSFlexGrid1->setHeader(0, QStringLiteral("Rec No"));
    MSFlexGrid1->setCentred(0, false);
    // With stored widths the record number is not among them and shows at
    // the grid's standard width.
    if (stored[0])
        MSFlexGrid1->setColWidth(kRecNoCol, MSFlexGrid1->horizontalHeader()->defaultSectionSize() * kTwips);
}

void LOGDATAVIEW::ShowLogPage(int endRecNo) {
    const std::vector<logbook::PageRow> rows = logbook::readLogPage(logbook::g.HamlogHandle, endRecNo);
    MSFlexGrid1->setUpdatesEnabled(false);
    for (const logbook::PageRow& row : rows) {
        MSFlexGrid1->addRow(row.cells[0]);
        const int r = MSFlexGrid1->rows() - 1;
        for (int c = 1; c < logbook::kQsoColumns; ++c)
            MSFlexGrid1->setText(r, c, row.cells[c]);
    }
    MSFlexGrid1->setUpdatesEnabled(true);
    const int last = MSFlexGrid1->rows() - 1;
    if (last < 1) return;
    MSFlexGrid1->setTopRow(last);
    MSFlexGrid1->setCurrentCell(last - 1, 0);
}

bool LOGDATAVIEW::showPage() {
    MSFlexGrid1->setRows(1);
    if (logwindows::ReopenLog() != hamlog::Done) {
        showOpenFailure();
        logwindows::CloseLog();
        forms::unload<LOGDATAVIEW>();
        return false;
    }
    ShowLogPage(PageEnd);
    logwindows::CloseLog();
    return true;
}

void LOGDATAVIEW::showOpenFailure() {
    ui::msgBox(QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\n") + logwindows::LibraryVersionsText(),
               ui::OkOnly, QString());
}

void LOGDATAVIEW::GOBACK_Click() {
    const int rows = MSFlexGrid1->rows() - 1;
    const std::optional<int> first =
        rows >= 1 ? logbook::recNoOfLabel(MSFlexGrid1->text(1, kRecNoCol)) : std::nullopt;
    PageEnd = logbook::pageEndBack(first, PageEnd);
    showPage();
}

void LOGDATAVIEW::GOFOWARD_Click() {
    PageEnd = logbook::pageEndForward(PageEnd, logbook::g.HamlogRecCount);
    showPage();
}

void LOGDATAVIEW::LOG_JUMP_Click() {
    const std::optional<QString> answer =
        ui::inputBox(QStringLiteral("指定された交信番号に移動します"), QStringLiteral("Jump先の指定"));
    const std::optional<int> end =
        answer ? logbook::pageEndJump(*answer, logbook::g.HamlogRecCount) : std::nullopt;
    if (!end) {
        logwindows::CloseLog();
        return;
    }
    PageEnd = *end;
    showPage();
}

void LOGDATAVIEW::storeLayout() {
    logwindows::storeQsoWidths(*MSFlexGrid1, kStoredWidths);
    core::PutIniText(kPos, "HLDVPOSTop", QString::number(y() * kTwips));
    core::PutIniText(kPos, "HLDVPOSLeft", QString::number(x() * kTwips));
    core::PutIniText(kPos, "HLDVPOSWidth", QString::number(width() * kTwips));
    core::PutIniText(kPos, "HLDVPOSHeight", QString::number(height() * kTwips));
}

void LOGDATAVIEW::LOGCL_Click() {
    logwindows::callCheck.CallSearchOnly = 0;
    storeLayout();
    forms::unload<LOGDATAVIEW>();
}

void LOGDATAVIEW::closeEvent(QCloseEvent* e) {
    e->ignore();
    storeLayout();
    forms::unload<LOGDATAVIEW>();
}

namespace logwindows {

void ShowLogViewer() {
    forms::unload<LOGDATAVIEW>();
    LOGDATAVIEW& viewer = forms::LOGDATAVIEW();
    if (!viewer.loaded()) {
        forms::unload<LOGDATAVIEW>();
        return;
    }
    viewer.show();
    // The main and SSTV windows' loads show the viewer before the window itself.
    QWidget* owner = nullptr;
    if (core::g.OpMode == core::ModeSstv && forms::isLoaded<SSTVForm>())
        owner = &forms::SSTVForm();
    else if (core::g.OpMode != core::ModeSstv && forms::isLoaded<PSK31MAIN>())
        owner = &forms::PSK31MAIN();
    if (owner && !owner->isVisible()) new RaiseWithOwner(&viewer, owner);
}

void RefreshChosenLogViewer() {
    if (logbook::g.HamlogViewerOn == QLatin1String("YES") && logbook::g.HamlogLink == 1) ShowLogViewer();
}

} // namespace logwindows
