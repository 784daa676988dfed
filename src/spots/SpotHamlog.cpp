#include "spots/SpotHamlog.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/HamlogWindowLink.h"

namespace spots {

namespace {

namespace link = hamlog::window;

constexpr quint32 ItemCall = 0x30000;
constexpr quint32 ItemEntryCheck = 0x20001;
constexpr quint32 ItemEntryFreq = 0x20006;
const QString EntryTitle = QStringLiteral(" ＬＯＧ-[Ａ]　　　");

// The text blank-filled in its buffer, its length that of the trimmed text.
link::CopyData spotItem(quint32 code, const QString& text) {
    link::CopyData data;
    data.dwData = code;
    data.cbData = static_cast<quint32>(text.trimmed().size());
    data.lpData = link::itemText(text);
    return data;
}

} // namespace

QList<HamlogSpotItem> spotHamlogItems(const QString& call, const QString& field1, const QString& field14,
                                      const QString& freq, const QString& field8, const QString& mode) {
    QList<HamlogSpotItem> items;
    for (quint32 code : {0u, 1u, 2u, 3u, 14u, 14u, 14u, 14u, 8u, 9u, 14u, 11u, 12u, 13u, 14u})
        items.append({code, QString()});
    items.append({ItemCall, call});
    items.append({1, field1});
    if (field14 != QLatin1String("NOR")) items.append({14, field14});
    if (!field8.isEmpty()) items.append({8, field8});
    if (!mode.isEmpty()) items.append({7, mode});
    items.append({ItemEntryFreq, freq});
    return items;
}

void SendSpotToHamlog(const QString& call, const QString& field1, const QString& field14, const QString& freq,
                      const QString& field8, const QString& mode) {
    const qintptr window = link::findWindow();
    if (window < 1) {
        ui::msgBox(QStringLiteral("Turbo HAMLOG/Winが起動していないのでは？"));
        return;
    }
    for (const HamlogSpotItem& item : spotHamlogItems(call, field1, field14, freq, field8, mode))
        if (!link::sendCopyData(window, spotItem(item.code, item.text))) return;
    const QString title = EntryTitle + call;
    const std::optional<quint32> entryOpen =
        link::sendCopyDataForResult(window, spotItem(ItemEntryCheck, field1));
    if (!entryOpen) return;
    if (*entryOpen > 0 && !link::activateTitled(window, title, true)) return;
    const std::optional<quint32> entryWindow =
        link::sendCopyDataForResult(window, spotItem(ItemEntryFreq, freq));
    if (!entryWindow || *entryWindow == 0) return;
    if (link::bringToFront(window, *entryWindow)) link::activateTitled(window, title, false);
}

} // namespace spots
