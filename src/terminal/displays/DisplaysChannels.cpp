// The channel buttons (Command15 to Command17) choose the channel that the
// spectrum follows; the sync switch (Check6) shows line or data sync.
#include "core/Globals.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr std::uint32_t kChosen = 0x02DB17;
constexpr std::uint32_t kOther = 0xC0FFC0;
constexpr int kDataSyncWidth = 16;

} // namespace

void PSK31MAIN::ChannelButton_Click(int Index) {
    core::Globals& g = core::g;
    g.ImdChannel = Index;
    const QPushButton* chosen[] = {Command15, Command16, Command17};
    for (QPushButton* b : {Command15, Command16, Command17})
        colour::setBackColor(b, b == chosen[Index] ? kChosen : kOther);
    if (g.OpMode != core::ModeMmvari) {
        Label8->setText(QStringLiteral(" Ch%1").arg(Index + 1));
        const int centre[] = {g.RxFreqHz, g.Ch2RxFreq, g.Ch3RxFreq};
        terminal::engines::SetSpectrumRange(centre[Index]);
    }
    Text5->setFocus();
}

void PSK31MAIN::Check6_Click() {
    const bool data = Check6->isChecked();
    core::g.PpmShowBoth = data ? QStringLiteral("YES") : QStringLiteral("NO");
    for (QLabel* l : {Label24, Label25, Label26, Label27})
        l->setVisible(!data);
    Label37->setVisible(data);
    Label38->setVisible(data);
    VScroll5->setVisible(!data);
    HScroll1->setVisible(!data);
    // The line-sync read-outs are in the time base's units, so the picture takes its width.
    Picture1->setScale(data ? kDataSyncWidth : HScroll1->value(), Picture1->scaleHeight());
    Text1->setFocus();
}

void PSK31MAIN::connectChannelButtons() {
    QPushButton* buttons[] = {Command15, Command16, Command17};
    for (int i = 0; i < 3; ++i)
        connect(buttons[i], &QPushButton::clicked, this, [this, i] { ChannelButton_Click(i); });
    connect(Check6, &QCheckBox::clicked, this, &PSK31MAIN::Check6_Click);
}
