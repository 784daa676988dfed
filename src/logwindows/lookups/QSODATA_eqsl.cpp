// The earlier-QSO list's electronic-QSL mode: marking rows and sending them.
#include "log/EarlierQsos.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "logwindows/lookups/QSODATA.h"
#include "logwindows/viewer/EqslExport.h"

void QSODATA::showEqslMenus() {
    const logbook::EqslMenus m = logbook::eqslMenus(EqslMode, logbook::g.EqslType);
    eQSLmode->setText(m.modeCaption);
    eQSLsend->setEnabled(m.sendEnabled);
    eQSLselhou->setEnabled(m.sendEnabled);
    eQSLselhou->menuAction()->setEnabled(m.sendEnabled);
    eQSLtype->setVisible(m.typeVisible);
    eQSLtype->setText(m.typeCaption);
}

void QSODATA::unmarkRow(int row) {
    if (logbook::isMarkedCell(MSFlexGrid1->text(row, 0)))
        MSFlexGrid1->setText(row, 0, logbook::qsoRowLabel(row));
}

void QSODATA::eQSLmode_Click() {
    EqslMode = EqslMode == 1 ? 0 : 1;
    showEqslMenus();
    if (EqslMode == 0)
        for (int row = 1; row <= dataRows(); ++row)
            unmarkRow(row);
}

void QSODATA::eQSLall_Click() {
    for (int row = 1; row <= dataRows(); ++row)
        MSFlexGrid1->setText(row, 0, logbook::kEqslRowMark);
}

void QSODATA::eQSLsel_Click() {
    for (int row = 1; row <= dataRows(); ++row)
        unmarkRow(row);
}

void QSODATA::eQSLtype_Click() {
    logbook::g.EqslType = logbook::toggledEqslType(logbook::g.EqslType);
    showEqslMenus();
}

void QSODATA::eQSLsend_Click() {
    std::vector<QStringList> rows;
    for (int row = 1; row <= dataRows(); ++row) {
        QStringList cells;
        for (int col = 0; col < logbook::kQsoColumns; ++col)
            cells << MSFlexGrid1->text(row, col);
        rows.push_back(cells);
    }
    logwindows::sendMarkedRows(rows);
}
