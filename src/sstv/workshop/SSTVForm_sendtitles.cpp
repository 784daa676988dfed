// The title lines printed onto the transmit picture, each with its outline.
#include "platform/forms/Colour.h"
#include "platform/forms/ControlColour.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/workshop/SstvCompose.h"
#include "sstv/workshop/SstvTitles.h"

#include <QPainter>

namespace {

// The outline's step: 20 twips.
constexpr double OutlineStep = 20.0 / twips::kPerPixel;

// Every title line after the template, as it stands on the canvas.
std::vector<sstv::TitleLine> titleLines(const std::vector<QLabel*>& labels) {
    std::vector<sstv::TitleLine> lines;
    const std::vector<int>& outlines = sstv::titles.SstvTitleOutline;
    for (std::size_t i = 1; i < labels.size() && i < outlines.size(); ++i) {
        const QLabel* label = labels[i];
        if (!label) break;
        lines.push_back({QPointF(label->pos()), label->font(), colour::fromRef(colour::foreColor(label)),
                         label->text(), outlines[i]});
    }
    return lines;
}

} // namespace

void SSTVForm::DrawTitlesOnTxPicture() {
    Picture3->ensureCanvas();
    QPainter p(&Picture3->canvas());
    for (const sstv::TitleLine& line : titleLines(Label1))
        for (const sstv::TextPrint& print : sstv::TitlePrints(line, OutlineStep, OutlineStep)) {
            p.setFont(print.font);
            p.setPen(print.colour);
            p.drawText(QRectF(print.pos, QSizeF(Picture3->canvas().size())), Qt::AlignLeft | Qt::AlignTop,
                       print.text);
        }
}
