// The prefix look-up over the master data and the band marks of the area-code list.
#include "core/Globals.h"
#include "log/LocalTime.h"
#include "log/LogGlobals.h"
#include "log/PrefixRules.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogMaster.h"

#include <QCheckBox>
#include <QFile>

namespace logwindows {

namespace {

using hamlog::MasterRecord;

const QString kUnknownPrefix = QStringLiteral("このﾌﾟﾘﾌｨｯｸｽはﾏｽﾀﾃﾞｰﾀに存在しません");

QString masterPath(const char* extension) {
    return hamlog::masterFile(logbook::g.HamlogDataPath, extension);
}

// The log times follow the country: JST at home, UTC for every other entity.
void setUtc(bool utc) {
    if (logbook::g.CheckKeepsEntry) return;
    core::g.LogTimeUtc = utc ? 1 : 0;
    core::g.TimeZoneOffsetH = utc ? -9 : 0;
    if (QCheckBox* box = operatingBoxes().utc) box->setChecked(utc);
}

// The longest key of 3, 2 or 1 call characters in the prefix index; 0 = none.
int searchPrefix(hamlog::MasterIndex& index, const QString& call) {
    for (int n = 3; n >= 1; --n) {
        if (const int recNo = hamlog::idx_search(index, QLatin1Char('3') + call.left(n), 0)) {
            logbook::g.PrefixMatchLen = n;
            return recNo;
        }
    }
    logbook::g.PrefixMatchLen = 0;
    return 0;
}

// The record of a code from the code index, nothing when it has none.
std::optional<MasterRecord> recordOfCode(QFile& mst, const QString& code) {
    hamlog::MasterIndex byCode;
    if (hamlog::idx_open(masterPath("dx2"), byCode) != hamlog::Done) return std::nullopt;
    logbook::g.MasterRecNo = hamlog::idx_search(byCode, code, static_cast<int>(code.size()));
    hamlog::idx_close(byCode);
    return hamlog::readMasterRecord(mst, logbook::g.MasterRecNo);
}

} // namespace

void FillMasterRow(int row, const MasterRecord& r) {
    FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
    grid.setText(row, 1, r.Code);
    grid.setText(row, 2, r.Name);
    grid.setText(row, 3, r.Prefix);
    grid.setText(row, 4, r.Area);
    grid.setText(row, CODE_LIST::kColLongitude, QString::number(r.LongitudeDeg));
    grid.setText(row, CODE_LIST::kColSide,
                 r.LongitudeFlags >= 128 ? QStringLiteral("西経") : QStringLiteral("東経"));
    // Worked marks after confirmed ones: a band worked shows "W", one only confirmed "C".
    const struct {
        int col, bits;
        char mark;
    } marks[] = {{5, r.ConfirmedBits1, 'C'},
                 {13, r.ConfirmedBits2, 'C'},
                 {5, r.WorkedBits1, 'W'},
                 {13, r.WorkedBits2, 'W'}};
    for (auto [col, bits, mark] : marks)
        WriteQslBitsToGrid(row, col, bits, QString(QLatin1Char(mark)));
}

namespace {

// The entry found, past those marked "*" and through the entries that stand
// for others; nothing (after saying so unless quiet) when the prefix is unknown.
std::optional<MasterRecord> entryOfPrefix(hamlog::MasterIndex& index, QFile& mst, const QString& call,
                                          bool quiet) {
    std::optional<MasterRecord> r = hamlog::readMasterRecord(mst, logbook::g.MasterRecNo);
    while (r && r->Name.contains(QLatin1Char('*'))) {
        // Running out of entries on the way leaves no entry for the prefix.
        logbook::g.MasterRecNo = hamlog::idx_next(index);
        if (logbook::g.MasterRecNo == 0) {
            if (!quiet) ui::msgBox(kUnknownPrefix, ui::OkOnly);
            return std::nullopt;
        }
        r = hamlog::readMasterRecord(mst, logbook::g.MasterRecNo);
    }
    hamlog::idx_close(index);
    if (!r) return std::nullopt;
    const logbook::Redirection to = logbook::redirectionOf(r->Code, call, logbook::g.PrefixMatchLen);
    if (to.kind == logbook::Redirection::Unknown) {
        if (!quiet) ui::msgBox(kUnknownPrefix, ui::OkOnly);
        return std::nullopt;
    }
    return to.kind == logbook::Redirection::Search ? recordOfCode(mst, to.code) : r;
}

void setStatus(const QString& text) {
    if (StatusPanels* status = operatingBoxes().status) status->setText(1, text);
}

// The entries after the one found that share its prefix and area.
void listSharing(FlexGrid& grid, QFile& mst, const QString& call) {
    logbook::Globals& g = logbook::g;
    g.PrefixListRow = 2;
    for (int recNo = g.MasterRecNo + 1;; ++recNo) {
        const auto r = hamlog::readMasterRecord(mst, recNo);
        if (!r) break;
        if (!logbook::sharesPrefix(*r, call, g.PrefixMatchLen)) continue;
        grid.addRow(QString::number(g.PrefixListRow));
        FillMasterRow(g.PrefixListRow++, *r);
    }
}

// One entry alone: it is the station's, and its local time is known.
void takeTheOnlyEntry(CODE_LIST& list) {
    logbook::Globals& g = logbook::g;
    FlexGrid& grid = *list.MSFlexGrid1;
    QString qth = grid.text(1, 2);
    if (!g.CheckKeepsEntry) {
        TEMP_LOG& log = forms::TEMP_LOG();
        FillForCall(log.Text9, grid.text(1, 1), callCheck.Call);
        FillForCall(log.Text13, qth, callCheck.Call);
        qth = log.Text13->text();
    }
    g.Longitude = grid.text(1, CODE_LIST::kColLongitude).toInt();
    g.LongitudeSide = grid.text(1, CODE_LIST::kColSide);
    list.show();
    g.LocalTimeText.clear();
    ShowLocalTime();
    if (!g.LocalTimeText.isEmpty()) setStatus(qth + QStringLiteral("  Local Time=> ") + g.LocalTimeText);
}

} // namespace

void WriteQslBitsToGrid(int row, int& col, int& bits, const QString& mark) {
    FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
    for (int c : logbook::qslBitColumns(col, bits))
        if (c < CODE_LIST::kColumns) grid.setText(row, c, mark);
}

void LookupPrefix(const QString& call, bool quietUnknown) {
    logbook::Globals& g = logbook::g;
    if (call.isEmpty()) return;
    // A key in the code box may have left the list marked as a search result;
    // the prefix look-up's list is not one.
    g.CodeListExtended = 0;
    CODE_LIST& list = forms::CODE_LIST();
    list.MSFlexGrid1->setHeader(3, QStringLiteral("Prfx"));
    if (hamlog::idx_open(masterPath("dx4"), g.MasterIndex) != hamlog::Done) return;
    g.MasterRecNo = searchPrefix(g.MasterIndex, call);
    if (g.MasterRecNo == 0) {
        hamlog::idx_close(g.MasterIndex);
        if (!quietUnknown) ui::msgBox(kUnknownPrefix, ui::OkOnly);
        return;
    }
    list.clearRows();
    g.PrefixListRow = 1;
    QFile mst(masterPath("mst"));
    const std::optional<MasterRecord> entry =
        mst.open(QIODevice::ReadOnly) ? entryOfPrefix(g.MasterIndex, mst, call, quietUnknown) : std::nullopt;
    hamlog::idx_close(g.MasterIndex);
    if (!entry) return;
    if (g.QsoListFilled == 0 && !g.CheckKeepsEntry) {
        TEMP_LOG& log = forms::TEMP_LOG();
        FillForCall(log.Text9, entry->Code.trimmed(), callCheck.Call);
        FillForCall(log.Text13, entry->Name.trimmed(), callCheck.Call);
    }
    FillMasterRow(1, *entry);
    if (logbook::isHomeCountry(entry->Code)) {
        setUtc(false);
        g.Longitude = 135;
        g.LongitudeSide = QStringLiteral("東経");
        forms::unload<CODE_LIST>();
        ShowLocalTime();
        return;
    }
    setUtc(true);
    if (const auto district = logbook::districtLongitude(entry->Code, call)) {
        g.DistrictLongitude = *district;
        g.DistrictLongitudeOn = 1;
    }
    listSharing(*list.MSFlexGrid1, mst, call);
    if (list.MSFlexGrid1->rows() <= 2) {
        takeTheOnlyEntry(list);
        return;
    }
    // Until the operator picks, the local time and the greeting are those of
    // row 1, never the previous station's side with this one's degrees.
    list.takeLongitude(1);
    list.show();
}

} // namespace logwindows
