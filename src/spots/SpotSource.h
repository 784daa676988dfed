#pragma once
// Where the spot pages come from and what the window's caption says about it.
#include <QString>

namespace spots {

// The name of the primary spot service in the captions.
inline const QString PrimarySourceLabel = QStringLiteral("Zorvatek spot server");
// The caption's start; the state texts follow it.
inline const QString CaptionStart = QStringLiteral("DX Information");

// Base URLs: $ZORVATEK_SPOT_PRIMARY and $ZORVATEK_SPOT_FALLBACK, else the
// local spot server (zorvatek-spotsrv) on 127.0.0.1:47301 and :47302.
QString primaryBaseUrl();
QString fallbackBaseUrl();
// The page of option index 0..3 (WW, JA, US, ALL) on the primary server; any
// other index is the first page.
QString primaryPageUrl(int index);
QString fallbackPageUrl();
QString submissionUrl();

// The longest one request may take, from its start to its last byte.
inline constexpr int RequestLimitMsecs = 20'000;

// The transfer's states as the window shows them.
enum class FetchState { Waiting, Requesting, Receiving, Received, Failed, NoSpots };
QString stateCaption(FetchState state, bool fallback);

// A stored page option: "0".."3", anything else the first page.
int pageIndexOf(const QString& stored);

} // namespace spots
