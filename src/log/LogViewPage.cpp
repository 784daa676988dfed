#include "log/LogViewPage.h"

#include "log/EarlierQsos.h"

#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <cmath>

namespace logbook {

QStringList logViewRow(const hamlog::QsoRecord& record, int recNo) {
    QStringList cells = earlierQsoRow(record, recNo, recNo);
    cells[18] = cells[0];
    return cells;
}

std::vector<PageRow> readLogPage(hamlog::HamlogHandle& handle, int end) {
    std::vector<PageRow> rows;
    rows.reserve(kPageSize);
    hamlog::QsoRecord record;
    for (int n = end - (kPageSize - 1); n <= end; ++n) {
        if (hamlog::THW_read(handle, n, 3) != hamlog::Done) continue;
        for (const hamlog::FieldSpec& f : hamlog::kFields)
            if (f.no != hamlog::FieldFlag) hamlog::ThwString(*record.field(f.no), handle, f.no);
        rows.push_back({n, logViewRow(record, n)});
    }
    return rows;
}

std::optional<int> recNoOfLabel(const QString& label) {
    bool ok = false;
    const int n = label.trimmed().toInt(&ok);
    return ok && label.startsWith(QLatin1Char(' ')) ? std::optional<int>(n) : std::nullopt;
}

int pageEndBack(std::optional<int> firstRecNo, int pageEnd) {
    const int end = firstRecNo ? *firstRecNo - 1 : pageEnd - kPageSize;
    return std::max(end, kPageSize);
}

int pageEndForward(int pageEnd, int count) {
    return std::min(pageEnd + kPageSize, count);
}

std::optional<int> pageEndJump(const QString& answer, int count) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!number.match(answer).hasMatch()) return std::nullopt;
    const double n = std::nearbyint(answer.trimmed().toDouble());
    const int asked = n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
    return std::min(std::max(asked, kPageSize), count);
}

} // namespace logbook
