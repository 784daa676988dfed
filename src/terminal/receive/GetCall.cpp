#include "terminal/receive/GetCall.h"

#include "core/Globals.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace terminal::receive {

namespace {

const QString kQrz = QStringLiteral("QRZ?");
const QString kCancel = QStringLiteral("Cancel");

void showCall(PSK31MAIN& w, const QString& call) {
    w.List1->hide();
    if (!logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, call)) return;
    forms::letEventsRun();
    logwindows::CheckCallSign(w.Text5->text().toUpper());
    w.Text1->setFocus();
}

} // namespace

void Command6_Click(PSK31MAIN& w) {
    // The engines' messages leave the pane alone while it is read.
    const int held = core::g.EngineMsgHold;
    core::g.EngineMsgHold = 1;
    w.List1->clear();
    w.List1->hide();
    const Found f = FindCall(w.RichTextBox1->text(), core::g.UserCall);
    core::g.EngineMsgHold = held;
    if (!f.call.isEmpty()) {
        showCall(w, f.call);
    } else if (!f.candidates.isEmpty()) {
        w.List1->addItems(f.candidates + QStringList{kQrz, kCancel});
        w.List1->show();
        w.List1->raise();
    } else if (!f.searched) {
        w.Text1->setFocus();
    }
}

void List1_Click(PSK31MAIN& w, const QString& chosen) {
    w.List1->hide();
    w.List1->clear();
    if (chosen != kCancel && logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, chosen) &&
        chosen != kQrz)
        logwindows::CheckCallSign(chosen.toUpper());
    w.Text1->setFocus();
}

void connectGetCall(PSK31MAIN& w) {
    QObject::connect(w.Command6, &QPushButton::clicked, &w, [&w] { Command6_Click(w); });
    QObject::connect(w.List1, &QListWidget::itemClicked, &w,
                     [&w](QListWidgetItem* item) { List1_Click(w, item->text()); });
}

} // namespace terminal::receive
