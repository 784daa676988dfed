#include "logwindows/lookups/QsoGridLayout.h"

#include "core/ini/IniValues.h"

#include <QGuiApplication>
#include <QScreen>

namespace logwindows {

namespace {

constexpr int kTwips = 15;
const QString kWidths = QStringLiteral("LogDisp");

QString widthKey(int n) {
    return QStringLiteral("COLWIDTH") + QString::number(n);
}

} // namespace

StoredQsoWidths storedQsoWidths(int count) {
    StoredQsoWidths stored;
    for (int n = 0; n < count && n < logbook::kQsoColumns; ++n)
        stored[n] = core::IniStored(kWidths, widthKey(n));
    return stored;
}

void layOutQsoGrid(FlexGrid& grid, const StoredQsoWidths& stored) {
    const auto widths = logbook::qsoColumnWidths(stored);
    for (int n = 0; n < logbook::kQsoColumns; ++n) {
        const logbook::QsoColumn& c = logbook::kQsoColumnSpecs[n];
        grid.setColWidth(n, widths[n]);
        grid.setHeader(n, QString::fromUtf8(c.header));
        grid.setCentred(n, c.centred);
    }
}

void storeQsoWidths(const FlexGrid& grid, int count) {
    for (int n = 0; n < count && n < logbook::kQsoColumns; ++n)
        core::PutIniText(kWidths, core::IniKey::built(widthKey(n)), QString::number(grid.colWidth(n)));
}

QSize screenTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() * kTwips : QSize(1 << 20, 1 << 20);
}

} // namespace logwindows
