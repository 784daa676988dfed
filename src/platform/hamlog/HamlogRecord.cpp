#include "platform/hamlog/HamlogRecord.h"

namespace hamlog {

namespace {
template <typename Record, typename Result> Result* fieldOf(Record& r, int no) {
    switch (no) {
    case FieldCall:
        return &r.CALL;
    case FieldDate:
        return &r.DATE;
    case FieldTime:
        return &r.TIME;
    case FieldHis:
        return &r.HIS;
    case FieldMy:
        return &r.MY;
    case FieldFreq:
        return &r.FREQ;
    case FieldMode:
        return &r.MODE;
    case FieldCode:
        return &r.CODE;
    case FieldGl:
        return &r.GL;
    case FieldQsl:
        return &r.QSL;
    case FieldName:
        return &r.NAME;
    case FieldQth:
        return &r.QTH;
    case FieldRem1:
        return &r.REM1;
    case FieldRem2:
        return &r.REM2;
    case FieldFlag:
        return &r.FLAG;
    default:
        return nullptr;
    }
}
} // namespace

QString* QsoRecord::field(int no) {
    return fieldOf<QsoRecord, QString>(*this, no);
}

const QString* QsoRecord::field(int no) const {
    return fieldOf<const QsoRecord, const QString>(*this, no);
}

QString fitChars(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

void blankRecord(QsoRecord& record) {
    for (const FieldSpec& f : kFields)
        *record.field(f.no) = QString(f.width, QLatin1Char(' '));
}

} // namespace hamlog
