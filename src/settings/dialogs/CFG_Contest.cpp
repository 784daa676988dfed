#include "settings/dialogs/CFG_Contest.h"

#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/CallParts.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/Clock.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "settings/dialogs/ContestValues.h"
#include "settings/dialogs/ContestWindow.h"
#include "settings/dialogs/DialogPlace.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/workshop/SstvTitles.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/StatusSwitches.h"
#include "terminal/receive/ContestEnd.h"
#include "terminal/receive/RxPicking.h"

#include <QCloseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

const QStringList kHelpLines = {
    QStringLiteral("想定している受信ナンバー"),       QStringLiteral("　599200101   599-200101"),
    QStringLiteral("  599_200101  599_2001-01  "),    QStringLiteral("(　_ はスペースのつもりです)"),
    QStringLiteral("上記の様な区切り文字は削除"),     QStringLiteral("して切り出しを行います"),
    QStringLiteral("データ取り込み　にチェックして"), QStringLiteral("の方法ではｽﾍﾟｰｽ付きはNG"),
};

bool sstvMode() {
    return core::g.OpMode == core::ModeSstv;
}

int flagOf(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

// The "/" order box of the window in use: ticked for prefix/call.
bool prefixOrder() {
    return sstvMode() ? forms::SSTVForm().Check4->isChecked() : forms::PSK31MAIN().Check4->isChecked();
}

void checkContestItem(QAction* item) {
    item->setCheckable(true);
    item->setChecked(true);
}

} // namespace

CFG_Contest::CFG_Contest()
    : Check1(new QCheckBox(QStringLiteral("受信ナンバーをCodeへ(頭3文字は除く)"))),
      Check2(new QCheckBox(QStringLiteral("受信ナンバーをRem1へ"))),
      Check5(new QCheckBox(QStringLiteral("受信ナンバーをRem2へ"))),
      Check3(new QCheckBox(QStringLiteral("シリアルナンバー"))), Check4(new QCheckBox),
      Text1(new QPlainTextEdit), menus(new QMenuBar) {
    setWindowTitle(QStringLiteral("Contest 形式設定"));
    // A dialog, so that the window manager keeps it above the window that
    // owns it (a plain window gets no owner from it).
    setWindowFlags(Qt::Dialog);
    CON_STRART = menus->addAction(QStringLiteral("参戦"));
    CLOSE_CFG = menus->addAction(QStringLiteral("離脱"));
    Text1->setPlainText(kHelpLines.join(QLatin1Char('\n')));
    Text1->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    for (QWidget* c : std::initializer_list<QWidget*>{Check1, Check2, Check5, Check3, Check4, Text1})
        layout->addWidget(c);

    connect(Check1, &QCheckBox::clicked, this, &CFG_Contest::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &CFG_Contest::Check2_Click);
    connect(Check5, &QCheckBox::clicked, this, &CFG_Contest::Check5_Click);
    connect(Check3, &QCheckBox::clicked, this, &CFG_Contest::Check3_Click);
    connect(Check4, &QCheckBox::clicked, this, &CFG_Contest::Check4_Click);
    connect(CON_STRART, &QAction::triggered, this, &CFG_Contest::CON_STRART_Click);
    connect(CLOSE_CFG, &QAction::triggered, this, &CFG_Contest::CLOSE_CFG_Click);
}

void CFG_Contest::Form_Load() {
    settings::placeBesideOwner(*this, settings::dialogOwner());
    Check4->setText(sstvMode() ? QStringLiteral("送信RSVを　５９５　に固定")
                               : QStringLiteral("送信RSTを　５９９　に固定"));
}

void CFG_Contest::Form_Unload() {
    closing_ = true;
}

void CFG_Contest::Check1_Click() {
    terminal::receive::g.ContestNoToCode = flagOf(Check1);
}

void CFG_Contest::Check2_Click() {
    terminal::receive::g.ContestNoToRem1 = flagOf(Check2);
}

void CFG_Contest::Check5_Click() {
    terminal::receive::g.ContestNoToRem2 = flagOf(Check5);
}

void CFG_Contest::Check3_Click() {
    const settings::ContestBoxes b = settings::contestBoxesInUse();
    if (Check3->isChecked()) settings::ShowStoredSerial(b);
    b.serial->setVisible(Check3->isChecked());
    b.spin->setVisible(Check3->isChecked());
    core::g.ContestSerialNo = flagOf(Check3);
}

void CFG_Contest::Check4_Click() {
    core::g.ContestRst599 = flagOf(Check4);
    settings::ShowFixedReport(settings::contestBoxesInUse());
}

// The log entry window as contest logging wants it, and the log counted so
// that the entry shows the number of the record it will become.
void CFG_Contest::prepareLogEntry() {
    logbook::Globals& l = logbook::g;
    // An entry on a stored record turns to a new page: the contest's first
    // station takes none of that record's fields.
    if (l.LogEditMode == 1 || l.LogEntrySaved == 1) logwindows::StartLogEntry();
    TEMP_LOG& log = forms::TEMP_LOG();
    log.LT->setVisible(!l.LocalTimeText.isEmpty());
    colour::setForeColor(log.Label9, kMagenta);
    log.setWindowTitle(QStringLiteral("PSKログ LogData=>") + l.HamlogPath);
    log.HLQ->setVisible(l.QslPrintProgKind == 1);
    log.HLQ->setEnabled(false);
    if (l.EqslEnabled == 0) {
        for (QPushButton* b : {log.Command7, log.Command8, log.Command9})
            b->setEnabled(false);
    } else {
        log.Command7->setEnabled(true);
    }
    l.EqslType = logbook::settledEqslType(l.EqslType);
    log.Command7->setText(logbook::eqslButtonCaption(l.EqslType));
    l.LogEditMode = 0;
    l.ExportFromRecNo = 0;
    l.ExportToRecNo = 0;
    if (!logwindows::ReadRecordCount())
        ui::msgBox(QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\n") +
                       logwindows::LibraryVersionsText(),
                   ui::OkOnly);
}

void CFG_Contest::fillLogEntry() {
    TEMP_LOG& log = forms::TEMP_LOG();
    logwindows::CloseLog();
    logwindows::SetQsoTime();
    log.StatusBar1->setText(1, QStringLiteral("Record No=") + QString::number(logbook::g.HamlogRecNo));
    log.show();
    const logbook::LogCall call = logbook::logCallFor(core::g.HisCall, prefixOrder(), log.Text15->text());
    log.Text1->setText(call.call);
    log.Text2->setText(call.other);
    if (call.rem2) log.Text15->setText(*call.rem2);
    log.LSave->setVisible(false);
    log.LSave->setEnabled(false);
    log.Contest->setVisible(true);
    log.Contest->setEnabled(true);
    // Without polling the rig, one reading brings its frequency and mode into the log.
    if (rig::g.RigPollMode != 2 && rig::g.RigPortOpen == 1) rig::RigReadStatus();
    log.show();
    log.raise();
}

void CFG_Contest::CON_STRART_Click() {
    // Corrections typed into a stored record would go with the new page.
    const logbook::Globals& l = logbook::g;
    if (l.HamlogLink == 1 && l.LogEditMode == 1 && logwindows::EntryUnsaved() &&
        !logwindows::AgreesToDropUnsaved())
        return;
    core::g.ContestMode = 1;
    if (sstvMode()) {
        SSTVForm& s = forms::SSTVForm();
        checkContestItem(s.CONON);
        s.Text11->show();
        s.VScroll4->show();
        s.ContestStateChanged();
    } else {
        PSK31MAIN& m = forms::PSK31MAIN();
        for (QAction* item : {m.INSAISATU, m.GetContestNo, m.PSTCON_NO})
            item->setEnabled(true);
        checkContestItem(m.CONON);
        // Ticked as by a click, so that the word pick the box shows is the one in use.
        if (!m.Check5->isChecked()) {
            m.Check5->setChecked(true);
            terminal::mainwindow::Check5_Click();
        }
    }
    if (logbook::g.HamlogLink == 1) {
        prepareLogEntry();
        fillLogEntry();
    } else {
        logbook::g.QsoTime = sysclock::jstNow().time();
    }
    forms::unload<CFG_Contest>();
}

void CFG_Contest::CLOSE_CFG_Click() {
    if (sstvMode())
        sstv::SaveSstvContestNo();
    else
        terminal::receive::SaveContestNo(forms::PSK31MAIN());
}

void CFG_Contest::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!closing_) CLOSE_CFG_Click();
}
