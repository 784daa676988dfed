#include "logwindows/entry/LogCharacters.h"

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
    std::vector<LogField> fields;
    for (const auto& [box, name] :
         {std::pair{b.call, "CALL"}, std::pair{b.rst, "RST"}, std::pair{b.name, "NAME"},
          std::pair{b.qth, "QTH"}, std::pair{b.contestNo, "Contest No"}})
        if (box) fields.push_back({box, QString::fromLatin1(name), box->text()});
    return LogFieldsHold(fields);
}

} // namespace logwindows
