#pragma once
// One QSO in the logging program's record layout, shared by every part of the
// system that reads or writes the log.
//
// The fields are addressed by the logging library's field numbers (numbers 1
// and 15 are not used; 27 reads back the record number). The widths here are
// those of the record; how the library counts them is said in Hamlog.h.
#include <QString>
#include <array>

namespace hamlog {

enum FieldNo : int {
    FieldCall = 0,
    FieldDate = 2,
    FieldTime = 3,
    FieldHis = 4,
    FieldMy = 5,
    FieldFreq = 6,
    FieldMode = 7,
    FieldCode = 8,
    FieldGl = 9,
    FieldQsl = 10,
    FieldName = 11,
    FieldQth = 12,
    FieldRem1 = 13,
    FieldRem2 = 14,
    FieldFlag = 16,
    FieldRecNo = 27,
};

struct FieldSpec {
    int no;
    int width;
    const char* name;
};

// In record order.
inline constexpr std::array<FieldSpec, 15> kFields{{
    {FieldCall, 20, "CALL"},
    {FieldDate, 8, "DATE"},
    {FieldTime, 6, "TIME"},
    {FieldHis, 12, "HIS"},
    {FieldMy, 12, "MY"},
    {FieldFreq, 16, "FREQ"},
    {FieldMode, 16, "MODE"},
    {FieldCode, 6, "CODE"},
    {FieldGl, 6, "GL"},
    {FieldQsl, 3, "QSL"},
    {FieldName, 64, "NAME"},
    {FieldQth, 128, "QTH"},
    {FieldRem1, 254, "REM1"},
    {FieldRem2, 254, "REM2"},
    {FieldFlag, 1, "flag"},
}};

// Width of a record field, 0 for a number that is no field.
constexpr int fieldWidth(int no) {
    for (const FieldSpec& f : kFields)
        if (f.no == no) return f.width;
    return 0;
}

// Position of a field in kFields, -1 for a number that is no field.
constexpr int fieldIndex(int no) {
    for (int i = 0; i < static_cast<int>(kFields.size()); ++i)
        if (kFields[i].no == no) return i;
    return -1;
}

struct QsoRecord {
    QString CALL, DATE, TIME, HIS, MY, FREQ, MODE, CODE, GL, QSL, NAME, QTH, REM1, REM2, FLAG;

    // The field with the library's number; nullptr for a number that is no field.
    QString* field(int no);
    const QString* field(int no) const;
};

// A field's member and width by the library's field number.
struct FieldSlot {
    QString QsoRecord::*member = nullptr;
    int width = 0;
};
// nullptr for a number that is no field.
const FieldSlot* fieldSlot(int no);

// The text left-aligned in exactly `width` characters: padded with blanks, or cut.
QString fitChars(const QString& text, int width);

// Every field set to blanks over its full width.
void blankRecord(QsoRecord& record);

} // namespace hamlog
