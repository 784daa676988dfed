#include "spots/SpotSource.h"

#include <QProcessEnvironment>

namespace spots {

namespace {

QString baseFrom(const char* variable, const QString& fallback) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty()) base = fallback;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

const QString FallbackName = QStringLiteral("臨時にDx-summit");

} // namespace

QString primaryBaseUrl() {
    return baseFrom("ZORVATEK_SPOT_PRIMARY", QStringLiteral("http://127.0.0.1:47301"));
}

QString fallbackBaseUrl() {
    return baseFrom("ZORVATEK_SPOT_FALLBACK", QStringLiteral("http://127.0.0.1:47302"));
}

QString primaryPageUrl(int index) {
    static const char* const paths[] = {"/wwdigi.html", "/jadigi.html", "/usdigi.html", "/"};
    if (index < 0 || index > 3) index = 0;
    return primaryBaseUrl() + QLatin1String(paths[index]);
}

QString fallbackPageUrl() {
    return fallbackBaseUrl() + QLatin1Char('/');
}

QString submissionUrl() {
    return fallbackBaseUrl() + QStringLiteral("/cgi-bin/spotin2.sh");
}

QString stateCaption(FetchState state, bool fallback) {
    const QString gap = QStringLiteral("     ");
    switch (state) {
    case FetchState::Waiting:
        return CaptionStart + gap + PrimarySourceLabel + QStringLiteral(" からの応答待ちです、QRX");
    case FetchState::Requesting:
        return CaptionStart + gap + (fallback ? FallbackName : PrimarySourceLabel) +
               QStringLiteral(" に接続中です。");
    case FetchState::Receiving:
        return CaptionStart + gap + (fallback ? FallbackName : PrimarySourceLabel) +
               QStringLiteral(" から受信中です。");
    case FetchState::Received:
        return QStringLiteral("The source of the DX information = ") +
               (fallback ? FallbackName : PrimarySourceLabel);
    case FetchState::NoSpots:
        return CaptionStart + gap + (fallback ? FallbackName : PrimarySourceLabel) +
               QStringLiteral(" のページにスポット情報がありません");
    case FetchState::Failed:
        return CaptionStart + gap +
               QStringLiteral("HOSTからの応答がありません,臨時的にDx-summitへ接続します");
    }
    return CaptionStart;
}

int pageIndexOf(const QString& stored) {
    if (stored.size() == 1 && stored.at(0) >= QLatin1Char('0') && stored.at(0) <= QLatin1Char('3'))
        return stored.at(0).unicode() - '0';
    return 0;
}

} // namespace spots
