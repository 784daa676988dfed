#pragma once
// The values of the recording dialog, apart from its controls.
#include <QDateTime>
#include <QString>

namespace settings {

// A recording runs 1 to 1000 minutes; anything else in the length box
// (0, 1500, an empty box, a sign) becomes "1".
QString recordLengthText(const QString& typed);
// Whether a path names a wave file: it holds ".WAV" in any case.
bool namesWaveFile(const QString& path);
// The file name the dialog proposes: "ZORVAT_" and the local time "yymmddhhmm".
QString proposedRecordingName(const QDateTime& local);
// The engine's recording mode: 6 with the transmitted signal ("1"), else 2.
int recordingModeCode(const QString& recSpecText);

} // namespace settings
