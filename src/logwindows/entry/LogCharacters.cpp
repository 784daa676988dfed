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
    std::vector<LogField> fields;
    const auto add = [&fields](QWidget* box, const QString& text, const char* name) {
        if (box) fields.push_back({box, QString::fromLatin1(name), text});
    };
    add(b.call, textOf(b.call), "Call Sign");
    add(b.rst, textOf(b.rst), sstv ? "HisRSV" : "RST");
    add(b.name, textOf(b.name), sstv ? "His Name" : "Name");
    add(b.qth, textOf(b.qth), "QTH");
    add(b.contestNo, textOf(b.contestNo), "Contest No");
    return LogFieldsHold(fields);
}

} // namespace logwindows
