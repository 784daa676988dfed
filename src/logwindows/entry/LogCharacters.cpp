#include "logwindows/entry/LogCharacters.h"

#include "core/Globals.h"
#include "logwindows/entry/QsoBoxes.h"
#include "platform/forms/text/ShiftJisText.h"

#include <QLineEdit>

namespace logwindows {

bool LogFieldsHold(const std::vector<LogField>& fields) {
    for (const LogField& f : fields)
        if (!ui::shiftJisHolds(f.text, f.box, f.name, QStringLiteral("LOG に保存"))) return false;
    return true;
}

bool QsoBoxesHold() {
    const QsoBoxes b = operatingBoxes();
    // Each box by the caption its window shows.
    const bool sstv = core::g.OpMode == core::ModeSstv;
    const std::pair<QLineEdit*, const char*> boxes[] = {{b.call, "Call Sign"},
                                                        {b.rst, sstv ? "HisRSV" : "RST"},
                                                        {b.name, sstv ? "His Name" : "Name"},
                                                        {b.qth, "QTH"},
                                                        {b.contestNo, "Contest No"}};
    std::vector<LogField> fields;
    for (const auto& [box, name] : boxes)
        if (box) fields.push_back({box, QString::fromLatin1(name), box->text()});
    return LogFieldsHold(fields);
}

} // namespace logwindows
