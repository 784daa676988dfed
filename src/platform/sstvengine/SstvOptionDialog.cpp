#include "platform/sstvengine/SstvOptionDialog.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/forms/text/TextRule.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Cp932.h"
#include "platform/sstvengine/SstvEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace sstveng {
namespace {

constexpr int BandPassShift = 28;
constexpr std::int32_t BandPassMask = 3 << BandPassShift;
constexpr int MaxIdLength = 20;

} // namespace

bool runOptionDialog(OptionValues& values) {
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("SstvEngineOption"));
    dialog.setWindowTitle(QStringLiteral("SSTV Engine Option"));
    auto* bandPass = new QComboBox;
    bandPass->addItems(
        {QStringLiteral("Off"), QStringLiteral("Broad"), QStringLiteral("Sharp"), QStringLiteral("vySharp")});
    bandPass->setCurrentIndex((values.rxWord & BandPassMask) >> BandPassShift);
    auto* fskRx = new QCheckBox(QStringLiteral("FSK ID"));
    fskRx->setChecked(values.rxWord & RxFskId);
    auto* fskId = new QLineEdit(cp932::decode(values.fskId));
    auto* cwId = new QLineEdit(cp932::decode(values.cwId));
    ui::setTextLimit(fskId, MaxIdLength);
    ui::setTextLimit(cwId, MaxIdLength);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("BPF"), bandPass);
    form->addRow(QStringLiteral("RX"), fskRx);
    form->addRow(QStringLiteral("FSK ID"), fskId);
    form->addRow(QStringLiteral("CW ID"), cwId);
    form->addRow(buttons);
    // The engine keeps its IDs in Shift-JIS: a character it would give back as
    // another is never kept ("?", "\" for "¥").
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        for (const auto& [id, name] : {std::pair{fskId, "FSK ID"}, std::pair{cwId, "CW ID"}})
            if (!ui::shiftJisHolds(id->text(), id, QString::fromLatin1(name),
                                   QStringLiteral("SSTVエンジンに設定")))
                return;
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (forms::execModal(dialog) != QDialog::Accepted) return false;
    std::int32_t word =
        (values.rxWord & ~BandPassMask) | (std::int32_t(bandPass->currentIndex()) << BandPassShift);
    word = fskRx->isChecked() ? (word | RxFskId) : (word & ~RxFskId);
    values.rxWord = word;
    values.fskId = cp932::encode(fskId->text().trimmed());
    values.cwId = cp932::encode(cwId->text().trimmed());
    return true;
}

} // namespace sstveng
