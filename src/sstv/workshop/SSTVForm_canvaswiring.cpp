// The workshop's own controls and how its controls reach their handlers:
// clicks, mouse work on the canvas and its layers, files dragged over the
// transmit side, and the buttons that take the right mouse button.
#include "platform/forms/waits/Waits.h"
#include "platform/forms/windows/WindowFilter.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/workshop/SstvCompose.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

constexpr int TitleBarHeight = 30;

int buttonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

bool holdsFiles(const QEvent* e) {
    const auto* drag = static_cast<const QDropEvent*>(e);
    return !localFiles(drag->mimeData()).isEmpty();
}

class TransmitEvents : public forms::WindowFilter {
  public:
    explicit TransmitEvents(SSTVForm& w) : WindowFilter(&w), w_(w) {
        for (QObject* o : {static_cast<QObject*>(w.Picture8), static_cast<QObject*>(w.Picture3),
                           static_cast<QObject*>(w.Frame8), static_cast<QObject*>(w.Frame13),
                           static_cast<QObject*>(w.Command14), static_cast<QObject*>(w.Command18),
                           static_cast<QObject*>(w.Command16), static_cast<QObject*>(w.Command6),
                           static_cast<QObject*>(w.SSTab2)})
            watch(o);
        for (QRadioButton* option : w.Option4)
            if (option) watch(option);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return dragOver(watched, static_cast<QDragMoveEvent*>(e));
        case QEvent::Drop:
            if (watched != w_.Picture8) return false;
            static_cast<QDropEvent*>(e)->acceptProposedAction();
            w_.Picture8_DropFiles(localFiles(static_cast<QDropEvent*>(e)->mimeData()));
            return true;
        case QEvent::MouseMove:
            if (watched != w_.Picture8 && watched != w_.Picture3) w_.unsetCursor();
            return false;
        case QEvent::MouseButtonPress:
            return pressed(watched, buttonCode(static_cast<QMouseEvent*>(e)->button()));
        case QEvent::MouseButtonRelease:
            released(watched, buttonCode(static_cast<QMouseEvent*>(e)->button()));
            return false;
        default:
            return false;
        }
    }

  private:
    bool dragOver(QObject* watched, QDragMoveEvent* e) {
        if (!holdsFiles(e)) return false;
        if (watched == w_.Picture8) {
            w_.activateWindow();
            e->acceptProposedAction();
            return true;
        }
        if (watched == w_.Picture3) {
            w_.activateWindow();
            w_.SSTab2->setCurrentIndex(1);
        } else if (watched == w_.Frame8) {
            w_.SSTab2->setCurrentIndex(1);
        }
        return false;
    }

    bool pressed(QObject* watched, int button) {
        if (watched != w_.Command18) return false;
        w_.Command18_MouseDown(button);
        // The right button chooses a colour; it does not press the button.
        return button != 1;
    }

    void released(QObject* watched, int button) {
        if (watched == w_.Command14) {
            // A tune tone started while something waits sounds once the wait is over.
            const auto again = [button] {
                if (forms::isLoaded<SSTVForm>() && forms::SSTVForm().ToneOn == 0)
                    forms::SSTVForm().Command14_MouseUp(button);
            };
            if (button == 1 && w_.ToneOn == 0 && !forms::mayActNow(forms::Request::Start, again)) return;
            return w_.Command14_MouseUp(button);
        }
        if (watched == w_.Frame13) return w_.Frame13_Click();
        for (std::size_t i = 0; i < w_.Option4.size(); ++i)
            if (watched == w_.Option4[i]) return w_.Option4_MouseUp(int(i));
    }

    SSTVForm& w_;
};

} // namespace

void SSTVForm::buildWorkshop() {
    Command8 = new QPushButton(QStringLiteral("挿絵の追加"));
    Command8->setFocusPolicy(Qt::NoFocus);
    Frame13 = new QGroupBox(QStringLiteral("挿絵の縁取り"));
    Frame8 = new QGroupBox;
    Picture14 = new PictureBox(Picture8);
    Picture14->setGeometry(0, 0, sstv::CanvasWidth, TitleBarHeight);
    Picture14->setScale(sstv::CanvasWidth, TitleBarHeight);
    Picture14->lower();
    Picture14->hide();
    Label4->setParent(Picture14);
    Label4->move(4, 4);
    QFont bold = Label4->font();
    bold.setBold(true);
    Label4->setFont(bold);
    Label4->hide();
    Line2 = Picture8->addLine(Qt::red);
    Line2->setPoints(0, sstv::ShortLines, sstv::CanvasWidth, sstv::ShortLines);
    Line2->setVisible(false);
    // Presses on the border fall through to the canvas, where the handles are.
    Picture12->setAttribute(Qt::WA_TransparentForMouseEvents);
    Picture8->setMouseTracking(true);
    Picture8->setAcceptDrops(true);
    Picture3->setAcceptDrops(true);
    Frame8->setAcceptDrops(true);
}

void SSTVForm::connectTransmit() {
    txpicarg = new QMenu(QStringLiteral("送信画加工"), this);
    txpicarg->addAction(TB_ON);
    Pasteclip = txpicarg->addAction(QStringLiteral("クリップボードから"));
    Getfile = txpicarg->addAction(QStringLiteral("ファイル読み込み"));
    GetSASHIfile = txpicarg->addAction(QStringLiteral("挿絵ファイル読み込み"));
    Savefile = txpicarg->addAction(QStringLiteral("ファイル保存"));
    connect(Pasteclip, &QAction::triggered, this, &SSTVForm::Pasteclip_Click);
    connect(Getfile, &QAction::triggered, this, &SSTVForm::Getfile_Click);
    connect(GetSASHIfile, &QAction::triggered, this, &SSTVForm::GetSASHIfile_Click);
    connect(Savefile, &QAction::triggered, this, &SSTVForm::Savefile_Click);
    connect(TB_ON, &QAction::triggered, this, &SSTVForm::TB_ON_Click);
    connect(ToB4TxPic, &QAction::triggered, this, &SSTVForm::ToB4TxPic_Click);
    connect(Check6, &QCheckBox::clicked, this, &SSTVForm::Check6_Click);
    connect(Check3, &QCheckBox::clicked, this, &SSTVForm::Check3_Click);
    connect(SSTab2, &QTabWidget::currentChanged, this, &SSTVForm::SSTab2_Click);
    connect(Command9, &QPushButton::clicked, this, &SSTVForm::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &SSTVForm::Command10_Click);
    connect(Command19, &QPushButton::clicked, this, &SSTVForm::Command19_Click);
    connect(Command6, &QPushButton::clicked, this, &SSTVForm::Command6_Click);
    connect(Command8, &QPushButton::clicked, this, &SSTVForm::Command8_Click);
    connect(Combo2, &QComboBox::activated, this, &SSTVForm::Combo2_Click);
    connect(Picture3, &PictureBox::mouseUp, this, [this](int b, double, double) { Picture3_MouseUp(b); });
    connect(Picture8, &PictureBox::mouseDown, this, &SSTVForm::Picture8_MouseDown);
    connect(Picture8, &PictureBox::mouseMove, this, &SSTVForm::Picture8_MouseMove);
    connect(Picture8, &PictureBox::mouseUp, this, &SSTVForm::Picture8_MouseUp);
    connect(Picture11, &PictureBox::mouseDown, this, &SSTVForm::Picture11_MouseDown);
    connect(Picture11, &PictureBox::mouseMove, this, &SSTVForm::Picture11_MouseMove);
    connect(Picture11, &PictureBox::mouseUp, this, [this] { unsetCursor(); });
    new TransmitEvents(*this);
    buildTitleMarker();
}
