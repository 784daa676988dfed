#include "terminal/GetCall.h"

#include "core/Globals.h"
#include "logwindows/CheckCallSign.h"
#include "platform/RichTextPane.h"
#include "terminal/PSK31MAIN.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace getcall {

namespace {

constexpr int kTail = 200;
constexpr int kOwnParts = 5;

const QString kDe = QStringLiteral(" DE ");
const QString kQrz = QStringLiteral("QRZ?");
const QString kCancel = QStringLiteral("Cancel");

bool holdsDigit(const QString& s) {
    return std::any_of(s.begin(), s.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The station's own "DE" parts come off the end, so that the other station's
// " DE " is the last one left.
QString dropOwnParts(QString t, const QString& own) {
    if (own.isEmpty()) return t;
    for (int i = 0; i < kOwnParts; ++i) {
        const QString upper = t.toUpper();
        const qsizetype p = upper.lastIndexOf(kDe);
        if (p < 0 || upper.indexOf(own, p) < 0) break;
        t = t.left(p);
    }
    return t;
}

Found wordsAfter(const QString& t, qsizetype p) {
    QString w = t.mid(p + 4).toUpper();
    w.replace(QChar(0x3000), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStringList words = w.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(0, 3);
    while (words.size() < 3)
        words.append(QString());
    for (QString& word : words)
        if (!holdsDigit(word)) word.clear();
    Found f;
    f.searched = true;
    if (!words[0].isEmpty() && (words[1] == words[0] || words[2] == words[0]))
        f.call = words[0];
    else if (!words[1].isEmpty() && words[2] == words[1])
        f.call = words[1];
    else
        for (const QString& word : words)
            if (!word.isEmpty()) f.candidates.append(word);
    return f;
}

void showCall(PSK31MAIN& w, const QString& call) {
    w.Text5->setText(call);
    w.List1->hide();
    QCoreApplication::processEvents();
    logbook::CheckCallSign(w.Text5->text().toUpper());
    w.Text1->setFocus();
}

} // namespace

Found FindCall(const QString& text, const QString& userCall) {
    const QString t = dropOwnParts(text.right(kTail), userCall.toUpper());
    const QString upper = t.toUpper();
    for (const QString& mark : {kDe, QStringLiteral(" CQ "), QStringLiteral("QRZ ")}) {
        const qsizetype p = upper.lastIndexOf(mark);
        if (p >= 0) return wordsAfter(t, p);
    }
    return {};
}

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
    if (chosen != kCancel) {
        w.Text5->setText(chosen);
        if (chosen != kQrz) logbook::CheckCallSign(chosen.toUpper());
    }
    w.Text1->setFocus();
}

void connectMainWindow(PSK31MAIN& w) {
    QObject::connect(w.Command6, &QPushButton::clicked, &w, [&w] { Command6_Click(w); });
    QObject::connect(w.List1, &QListWidget::itemClicked, &w,
                     [&w](QListWidgetItem* item) { List1_Click(w, item->text()); });
}

} // namespace getcall
