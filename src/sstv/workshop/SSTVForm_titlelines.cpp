// The title lines on the canvas: the marker that chooses a new line's place,
// placing and moving the lines with the mouse, removing them, and opening the
// text editor on a line or on the title bar.
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/windows/WindowFilter.h"
#include "sstv/overlay/SstvFonts.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/workshop/SstvTitlePlacing.h"
#include "sstv/workshop/SstvTitles.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int RightButton = 2;
constexpr int MarkerSize = 32;
const QPoint OffCanvas(-500, -500);

int buttonCode(Qt::MouseButton b) {
    return b == Qt::RightButton ? 2 : b == Qt::LeftButton ? 1 : b == Qt::MiddleButton ? 4 : 0;
}

int heldCode(Qt::MouseButtons held) {
    return (held & Qt::LeftButton ? 1 : 0) | (held & Qt::RightButton ? 2 : 0) |
           (held & Qt::MiddleButton ? 4 : 0);
}

// The marker's icon: a pen over a cross whose centre is the pointer's place.
QPixmap markerIcon() {
    QPixmap icon(MarkerSize, MarkerSize);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(16, 6, 16, 26);
    p.drawLine(6, 16, 26, 16);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(12, 12, 8, 8);
    p.drawText(QRect(18, 0, 14, 14), Qt::AlignCenter, QStringLiteral("A"));
    return icon;
}

void copyLabelFont(const QLabel* label, sstv::TitleFont& font) {
    const QFont f = label->font();
    font.name = f.family();
    font.size = sstv::FontSizeText(f.pointSizeF());
    font.color = QString::number(colour::foreColor(label));
    font.bold = f.bold() ? QStringLiteral("True") : QStringLiteral("False");
    font.italic = f.italic() ? QStringLiteral("True") : QStringLiteral("False");
}

QLabel* newestLine(const std::vector<QLabel*>& labels) {
    return labels.size() > 1 ? labels.back() : nullptr;
}

// The mouse on the title lines, the marker and the title bar.
class TitleEvents : public forms::WindowFilter {
  public:
    explicit TitleEvents(SSTVForm& w) : WindowFilter(&w), w_(w) {
        watch(w.Image1);
        watch(w.Label4);
        watch(w.Picture14);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        const QEvent::Type type = e->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
            type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return false;
        const auto* m = static_cast<QMouseEvent*>(e);
        const QPointF at = m->position();
        if (watched == w_.Label4 || watched == w_.Picture14) {
            if (type == QEvent::MouseButtonRelease && m->button() == Qt::LeftButton) w_.TitleBar_Click();
            return true;
        }
        if (watched == w_.Image1) {
            if (type == QEvent::MouseButtonPress) w_.Image1_MouseDown(at.x(), at.y());
            if (type == QEvent::MouseMove) w_.Image1_MouseMove(heldCode(m->buttons()), at.x(), at.y());
            if (type == QEvent::MouseButtonRelease) w_.Image1_MouseUp();
            return true;
        }
        const int index = indexOf(watched);
        if (index <= 0) return false;
        switch (type) {
        case QEvent::MouseButtonPress:
            w_.Label1_MouseDown(index, buttonCode(m->button()), at.x(), at.y());
            break;
        case QEvent::MouseMove:
            w_.Label1_MouseMove(index, heldCode(m->buttons()), at.x(), at.y());
            break;
        case QEvent::MouseButtonRelease:
            w_.Label1_MouseUp(index, buttonCode(m->button()));
            break;
        default:
            w_.Label1_DblClick(index);
            break;
        }
        return true;
    }

  private:
    int indexOf(QObject* watched) const {
        for (std::size_t i = 1; i < w_.Label1.size(); ++i)
            if (w_.Label1[i] == watched) return int(i);
        return 0;
    }

    SSTVForm& w_;
};

} // namespace

void SSTVForm::buildTitleMarker() {
    Image1 = new QLabel(Picture8);
    Image1->setPixmap(markerIcon());
    Image1->resize(MarkerSize, MarkerSize);
    Image1->setAttribute(Qt::WA_TranslucentBackground);
    Image1->hide();
    Picture14->setCursor(Qt::PointingHandCursor);
    titleEvents_ = new TitleEvents(*this);
}

void SSTVForm::watchTitleLabel(QLabel* label) {
    label->setMouseTracking(true);
    titleEvents_->watch(label);
}

bool SSTVForm::titleCanvasDown(double X, double Y) {
    sstv::Globals& s = sstv::g;
    // While bands are drawn, presses on the canvas are the bands' own.
    if (BandMode == 1) return false;
    if (s.TitlePlaceArmed == 1) {
        BeginTitleEdit();
        s.TitleEditOpen = 1;
        Image1->move(sstv::MarkerPlace(X, Y));
        newestLine(Label1)->move(Image1->pos());
        Image1->show();
        Image1->raise();
        Picture8->unsetCursor();
        s.TitlePlaceArmed = 0;
        mojiinput& editor = forms::mojiinput();
        editor.show();
        // The editor is a window of its own: the keys go to it only once it is the active one.
        editor.raise();
        editor.activateWindow();
        editor.Text1->setFocus();
        return true;
    }
    if (s.TitleEditOpen == 1) {
        Image1->move(sstv::MarkerPlace(X, Y));
        if (QLabel* line = newestLine(Label1)) line->move(Image1->pos());
        Picture8->unsetCursor();
        return true;
    }
    s.TitlePlaceArmed = 1;
    Image1->hide();
    return true;
}

bool SSTVForm::markerFollows(int Button, double X, double Y) {
    if (Button == 0 && sstv::g.TitlePlaceArmed == 1 && sstv::InsideMarkerMargins(X, Y)) {
        Picture8->setCursor(QCursor(Image1->pixmap(), sstv::MarkerOffset, sstv::MarkerOffset));
        Image1->move(sstv::MarkerPlace(X, Y));
        return true;
    }
    Picture8->unsetCursor();
    return false;
}

void SSTVForm::BeginTitleEdit() {
    Image1->hide();
    const int index = sstv::AddTitleLabel();
    QLabel* line = Label1[std::size_t(index)];
    watchTitleLabel(line);
    sstv::Globals& s = sstv::g;
    sstv::titles.SstvTitleOutline[std::size_t(index)] = s.OutlineChoice;
    if (const auto row = sstv::OutlineFor(s.OutlineChoice)) {
        s.OutlineRgb = row->colour;
        s.OutlineOn = row->on;
    }
    mojiinput& editor = forms::mojiinput();
    editor.Text1->setText(line->text());
    editor.VScroll1->setValue(sstv::RoundedSize(line->font().pointSizeF()));
    editor.Text1->clear();
    editor.Text1->setEnabled(true);
    editor.Text1->setFocus();
}

void SSTVForm::Label1_MouseDown(int Index, int, double X, double Y) {
    if (sstv::g.TitleBarEditing == 1) return;
    titleDrag_ = QPointF(X, Y);
    setCursor(Qt::SizeAllCursor);
    copyLabelFont(Label1[std::size_t(Index)], sstv::titles.font);
    sstv::g.SelectedTitle = Index;
    mojiinput& editor = forms::mojiinput();
    editor.Text1->setText(sstv::titles.SstvTitleLines.value(Index));
    editor.VScroll1->setValue(sstv::RoundedSize(sstv::FontSizeValue(sstv::titles.font.size)));
    const std::vector<int>& outlines = sstv::titles.SstvTitleOutline;
    editor.SelectOutline(std::size_t(Index) < outlines.size() ? outlines[std::size_t(Index)] : 0);
}

void SSTVForm::Label1_MouseMove(int Index, int Button, double X, double Y) {
    if (sstv::g.TitleBarEditing == 1) return;
    setCursor(Qt::SizeAllCursor);
    if (Button == 0) return;
    QLabel* line = Label1[std::size_t(Index)];
    line->move(line->pos() + (QPointF(X, Y) - titleDrag_).toPoint());
    Picture8->update();
}

void SSTVForm::Label1_MouseUp(int Index, int Button) {
    if (sstv::g.TitleBarEditing == 1) return;
    if (Button == RightButton) {
        // Out of view; its raw text stays with its index.
        QLabel* line = Label1[std::size_t(Index)];
        line->clear();
        line->move(OffCanvas);
        forms::mojiinput().Text1->clear();
    }
    unsetCursor();
}

void SSTVForm::Label1_DblClick(int Index) {
    if (sstv::g.TitleBarEditing == 1) return;
    mojiinput& editor = forms::mojiinput();
    editor.Text1->clear();
    editor.Text1->setText(sstv::titles.SstvTitleLines.value(Index));
    editor.show();
}

void SSTVForm::Image1_MouseDown(double X, double Y) {
    markerGrab_ = QPointF(std::nearbyint(X), std::nearbyint(Y));
    setCursor(Qt::SizeAllCursor);
}

void SSTVForm::Image1_MouseMove(int Button, double X, double Y) {
    setCursor(Qt::SizeAllCursor);
    if (Button == 0) return;
    Image1->move(Image1->pos() + (QPointF(X, Y) - markerGrab_).toPoint());
    const int i = sstv::g.SelectedTitle;
    if (i > 0 && std::size_t(i) < Label1.size()) Label1[std::size_t(i)]->move(Image1->pos());
    Picture8->update();
}

void SSTVForm::Image1_MouseUp() {
    unsetCursor();
}

void SSTVForm::TitleBar_Click() {
    sstv::Globals& s = sstv::g;
    s.TitleBarEditing = 1;
    s.TitlePlaceArmed = 0;
    Image1->hide();
    mojiinput& editor = forms::mojiinput();
    editor.EnterTitleBarMode(s.SstvTitleBarText);
    editor.show();
}
