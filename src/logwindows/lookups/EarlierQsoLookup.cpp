#include "logwindows/lookups/EarlierQsoLookup.h"

#include "log/EarlierQsos.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/hamlog/Hamlog.h"

namespace logwindows {

namespace {

using namespace hamlog;

// Reads the current record's fields into CurQso as the list shows them.
void readCurrent(HamlogHandle& h) {
    for (const FieldSpec& f : kFields)
        ThwString(*logbook::g.CurQso.field(f.no), h, f.no);
}

// Lists the call's QSOs from the first record the index gave; the number listed.
int listQsos(FlexGrid& grid, const QString& call, int recNo) {
    HamlogHandle& h = logbook::g.HamlogHandle;
    int rows = 0;
    while (recNo > 0) {
        if (THW_read(h, recNo, 3) != Done) break;
        readCurrent(h);
        if (!logbook::isSameStation(logbook::g.CurQso.CALL, call)) break;
        ++rows;
        grid.addRow(logbook::qsoRowNumber(rows));
        const QStringList cells = logbook::earlierQsoRow(logbook::g.CurQso, rows, recNo);
        for (int c = 1; c < cells.size(); ++c)
            grid.setText(rows, c, cells[c]);
        ClearHamlogRecord();
        recNo = Vidx_next(h, 16);
    }
    return rows;
}

void prefillFromRow(FlexGrid& grid, int row) {
    const auto cell = [&grid, row](int col) { return grid.text(row, col).trimmed(); };
    // A name written into the main window while a stored record is on show
    // would start a new entry there: a kept entry takes nothing, there or here.
    if (logbook::g.CheckKeepsEntry) return;
    // A name box the look-up filled for another call counts as empty; what the
    // operator typed stays.
    const QString& call = callCheck.Call;
    const QsoBoxes boxes = operatingBoxes();
    if (EmptyForCall(boxes.name, call)) FillForCall(boxes.name, cell(logbook::kQsoColName), call);
    TEMP_LOG& log = forms::TEMP_LOG();
    FillForCall(log.Text12, cell(logbook::kQsoColName), call);
    FillForCall(log.Text9, cell(logbook::kQsoColCode), call);
    FillForCall(log.Text13, cell(logbook::kQsoColQth), call);
    FillForCall(log.Text10, cell(logbook::kQsoColGl), call);
}

} // namespace

void LookupHamlogCall(const QString& call) {
    logbook::Globals& g = logbook::g;
    if (g.HamlogLink == 0) return;
    g.QsoListFilled = 0;
    SetQsoOrMaster(1);
    HamlogClose(g.HamlogHandle, 0);
    if (HamlogOpen(0, g.HamlogHandle, g.HamlogDataPath, 0) != Done) return;
    const int first = Vidx_search(g.HamlogHandle, call, 16);
    if (first == 0) {
        g.FirstQsoFlag = 1;
        HamlogClose(g.HamlogHandle, 0);
        return;
    }
    ClearHamlogRecord();
    QSODATA& list = forms::QSODATA();
    FlexGrid& grid = *list.MSFlexGrid1;
    grid.setVisible(false);
    const int rows = listQsos(grid, call, first);
    HamlogClose(g.HamlogHandle, 0);
    if (rows == 0) {
        // The first record found is no QSO of this station: none worked before.
        g.FirstQsoFlag = 1;
        forms::unload<QSODATA>();
        return;
    }
    g.QsoListRows = rows;
    prefillFromRow(grid, rows);
    callCheck.CallSearchOnly = 0;
    grid.setVisible(true);
    grid.setTopRow(rows);
    g.QsoListFilled = 1;
    if (StatusPanels* status = operatingBoxes().status)
        status->setText(1, grid.text(rows, logbook::kQsoColQth).trimmed() + QStringLiteral("   ") +
                               grid.text(rows, logbook::kQsoColName).trimmed());
    list.show();
}

} // namespace logwindows
