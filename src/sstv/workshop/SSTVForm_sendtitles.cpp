// The title lines printed onto the transmit picture, each with its outline.
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/workshop/SstvCompose.h"
#include "sstv/workshop/SstvTitles.h"

#include <QPainter>

#include <algorithm>

namespace {

// The outline's step: 20 twips.
constexpr double OutlineStep = 20.0 / twips::kPerPixel;

} // namespace

// The label's title line, as it stands on the canvas; the template (the
// array's first label) and a label the window does not hold print nothing.
void SSTVForm::printTitleOnTxPicture(const QLabel* label) {
    const auto found = std::find(Label1.begin(), Label1.end(), label);
    const std::size_t i = std::size_t(found - Label1.begin());
    const std::vector<int>& outlines = sstv::titles.SstvTitleOutline;
    if (found == Label1.end() || i == 0 || i >= outlines.size()) return;
    const sstv::TitleLine line{QPointF(label->pos()), label->font(),
                               colour::fromRef(colour::foreColor(label)), label->text(), outlines[i]};
    Picture3->ensureCanvas();
    QPainter p(&Picture3->canvas());
    for (const sstv::TextPrint& print : sstv::TitlePrints(line, OutlineStep, OutlineStep)) {
        p.setFont(print.font);
        p.setPen(print.colour);
        p.drawText(QRectF(print.pos, QSizeF(Picture3->canvas().size())), Qt::AlignLeft | Qt::AlignTop,
                   print.text);
    }
}
