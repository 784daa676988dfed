// The log viewer's electronic-QSL mode: marking rows of the page for the
// export, choosing the service and sending; and the page as an ADIF log file.
#include "log/LogGlobals.h"
#include "log/LogViewPage.h"
#include "logwindows/viewer/EqslExport.h"
#include "logwindows/viewer/LOGDATAVIEW.h"

namespace {

const QString kMark = QStringLiteral("eQSL");
constexpr int kRecNoCol = 18;

} // namespace

QString LOGDATAVIEW::eqslTypeCaption() const {
    return logbook::g.EqslType == QLatin1String("1") ? QStringLiteral("QSOBank") : QStringLiteral("eQSL");
}

void LOGDATAVIEW::eQSLmode_Click() {
    const bool on = EqslMode == 0;
    eQSLmode->setText(on ? QStringLiteral("電子QSLモード中") : QStringLiteral("電子QSLモードへ"));
    eQSLsend->setEnabled(on);
    eQSLtype->setVisible(on);
    if (on) eQSLtype->setText(eqslTypeCaption());
    LOGtoADIF->setEnabled(!on);
    EqslMode = on ? 1 : 0;
    if (!on) unmarkAll();
}

void LOGDATAVIEW::eQSLtype_Click() {
    logbook::g.EqslType =
        logbook::g.EqslType != QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    eQSLtype->setText(eqslTypeCaption());
}

void LOGDATAVIEW::toggleRow(int row) {
    if (row < 1 || row >= MSFlexGrid1->rows()) return;
    const bool marked = MSFlexGrid1->text(row, 0) == kMark;
    MSFlexGrid1->setText(row, 0, marked ? MSFlexGrid1->text(row, kRecNoCol) : kMark);
}

void LOGDATAVIEW::unmarkAll() {
    for (int r = 1; r < MSFlexGrid1->rows() && r <= logbook::kPageSize; ++r)
        if (MSFlexGrid1->text(r, 0) == kMark) toggleRow(r);
}

void LOGDATAVIEW::MSFlexGrid1_MouseUp() {
    if (EqslMode != 1) return;
    const QList<QTableWidgetSelectionRange> ranges = MSFlexGrid1->selectedRanges();
    if (ranges.isEmpty()) return;
    // Rows count from 1 below the header row.
    for (int r = ranges.first().topRow() + 1; r <= ranges.first().bottomRow() + 1; ++r)
        toggleRow(r);
}

std::vector<QStringList> LOGDATAVIEW::pageRows() const {
    std::vector<QStringList> rows;
    for (int r = 1; r < MSFlexGrid1->rows() && r <= logbook::kPageSize; ++r) {
        QStringList cells;
        for (int c = 0; c < MSFlexGrid1->columnCount(); ++c)
            cells << MSFlexGrid1->text(r, c);
        rows.push_back(cells);
    }
    return rows;
}

void LOGDATAVIEW::eQSLsend_Click() {
    logwindows::sendMarkedRows(pageRows());
}

void LOGDATAVIEW::LOGtoADIF_Click() {
    logwindows::exportLogPage(pageRows());
}
