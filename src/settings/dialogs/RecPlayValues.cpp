#include "settings/dialogs/RecPlayValues.h"

#include "platform/pskcore/PskCore.h"

#include <algorithm>

namespace settings {

namespace {
constexpr int kLongestMinutes = 1000;
}

QString recordLengthText(const QString& typed) {
    const bool digits = !typed.isEmpty() && typed.size() <= 4 &&
                        std::all_of(typed.begin(), typed.end(),
                                    [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    const int minutes = digits ? typed.toInt() : 0;
    return minutes >= 1 && minutes <= kLongestMinutes ? typed : QStringLiteral("1");
}

bool namesWaveFile(const QString& path) {
    return path.contains(QLatin1String(".WAV"), Qt::CaseInsensitive);
}

QString proposedRecordingName(const QDateTime& local) {
    return QStringLiteral("ZORVAT_") + local.toString(QStringLiteral("yyMMddHHmm"));
}

int recordingModeCode(const QString& recSpecText) {
    return recSpecText == QLatin1String("1") ? pskcore::RecordReceiveAndTransmit : pskcore::RecordReceive;
}

} // namespace settings
