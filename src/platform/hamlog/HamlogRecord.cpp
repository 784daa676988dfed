#include "platform/hamlog/HamlogRecord.h"

namespace hamlog {

namespace {

// Indexed by the library's field number: a look-up reads every field of
// every QSO it lists.
constexpr std::array<QString QsoRecord::*, kFields.size()> kMembers{
    &QsoRecord::CALL, &QsoRecord::DATE, &QsoRecord::TIME, &QsoRecord::HIS,  &QsoRecord::MY,
    &QsoRecord::FREQ, &QsoRecord::MODE, &QsoRecord::CODE, &QsoRecord::GL,   &QsoRecord::QSL,
    &QsoRecord::NAME, &QsoRecord::QTH,  &QsoRecord::REM1, &QsoRecord::REM2, &QsoRecord::FLAG};
constexpr auto kSlots = [] {
    std::array<FieldSlot, FieldFlag + 1> table{};
    for (std::size_t i = 0; i < kFields.size(); ++i)
        table[static_cast<std::size_t>(kFields[i].no)] = {kMembers[i], kFields[i].width};
    return table;
}();

} // namespace

const FieldSlot* fieldSlot(int no) {
    if (no < 0 || no >= static_cast<int>(kSlots.size())) return nullptr;
    const FieldSlot& slot = kSlots[static_cast<std::size_t>(no)];
    return slot.member ? &slot : nullptr;
}

QString* QsoRecord::field(int no) {
    const FieldSlot* slot = fieldSlot(no);
    return slot ? &(this->*slot->member) : nullptr;
}

const QString* QsoRecord::field(int no) const {
    const FieldSlot* slot = fieldSlot(no);
    return slot ? &(this->*slot->member) : nullptr;
}

QString fitChars(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

void blankRecord(QsoRecord& record) {
    for (const FieldSpec& f : kFields)
        *record.field(f.no) = QString(f.width, QLatin1Char(' '));
}

} // namespace hamlog
