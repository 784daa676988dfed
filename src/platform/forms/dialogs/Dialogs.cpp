#include "platform/forms/dialogs/Dialogs.h"

#include "platform/forms/waits/Waits.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHash>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QQueue>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace ui {
namespace {

struct ScriptState {
    bool active = false;
    QQueue<QVariant> answers;
    std::function<QVariant(const Asked&)> chooser;
    QList<Asked> asked;
    std::function<void(const Asked&)> look;
};
ScriptState& state() {
    static ScriptState s;
    return s;
}

bool atOnce = false;

// Records the question; in a script, hands out the next answer. While the
// program ends every question takes the Esc answer, shown to nobody.
std::optional<QVariant> scripted(const QString& kind, const QString& prompt, const QString& title,
                                 int style) {
    if (atOnce) {
        if (kind == QLatin1String("msgBox"))
            std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title),
                         qUtf8Printable(QString(prompt).replace(QLatin1String("\r\n"), QLatin1String(" "))));
        return QVariant();
    }
    ScriptState& s = state();
    if (!s.active) return std::nullopt;
    s.asked.append({kind, prompt, title, style});
    if (s.look) s.look(s.asked.back());
    if (!s.answers.isEmpty()) return s.answers.dequeue();
    return s.chooser ? s.chooser(s.asked.last()) : QVariant();
}

MsgResult firstButton(int style) {
    switch (style & 7) {
    case AbortRetryIgnore:
        return Abort;
    case YesNoCancel:
    case YesNo:
        return Yes;
    case RetryCancel:
        return Retry;
    default:
        return Ok;
    }
}

// The button Esc presses: Cancel where there is one, else No, else Abort, else
// the only button.
MsgResult escapeButton(int style) {
    switch (style & 7) {
    case OkCancel:
    case YesNoCancel:
    case RetryCancel:
        return Cancel;
    case YesNo:
        return No;
    case AbortRetryIgnore:
        return Abort;
    default:
        return Ok;
    }
}

QPointer<QWidget>& askedOver() {
    static QPointer<QWidget> window;
    return window;
}

QWidget* parentWindow() {
    if (QWidget* over = askedOver()) return over;
    return QApplication::activeWindow();
}

// A key that answers a question may still be down when the box closes: its
// repeats and its release belong to the question, never to the box that has
// the focus behind it.
class AnswerKeys : public QObject {
  public:
    AnswerKeys() : QObject(qApp) { qApp->installEventFilter(this); }
    void boxClosed() {
        closed_ = true;
        if (held_.isEmpty()) {
            deleteLater();
            return;
        }
        // A release lost to another application ends the watch all the same.
        QTimer::singleShot(3000, this, &QObject::deleteLater);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        const QEvent::Type type = e->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (!closed_) {
            if (type == QEvent::KeyPress && !key->isAutoRepeat()) held_.insert(key->key());
            if (type == QEvent::KeyRelease && !key->isAutoRepeat()) held_.remove(key->key());
            return false;
        }
        if (!held_.contains(key->key())) return false;
        if (type == QEvent::KeyRelease) {
            released_[key->key()] = key->timestamp();
            return true;
        }
        // X repeats a held key as a release and a press of one time stamp,
        // which is not always marked as a repeat.
        const bool repeat =
            key->isAutoRepeat() || (key->timestamp() != 0 && released_.value(key->key()) == key->timestamp());
        if (repeat) return true;
        // Pressed anew: the operator's next key, no longer the answer.
        held_.remove(key->key());
        if (held_.isEmpty()) deleteLater();
        return false;
    }

  private:
    QSet<int> held_;
    QHash<int, quint64> released_;
    bool closed_ = false;
};

} // namespace

MsgResult msgBox(const QString& prompt, int style, const QString& title) {
    if (auto answer = scripted(QStringLiteral("msgBox"), prompt, title, style))
        return answer->isValid() ? static_cast<MsgResult>(answer->toInt())
               : atOnce          ? escapeButton(style)
                                 : firstButton(style);

    QMessageBox box(parentWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (style & 0x70) {
    case Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct B {
        QMessageBox::StandardButton qt;
        MsgResult result;
    };
    QList<B> buttons;
    switch (style & 7) {
    case OkCancel:
        buttons = {{QMessageBox::Ok, Ok}, {QMessageBox::Cancel, Cancel}};
        break;
    case AbortRetryIgnore:
        buttons = {{QMessageBox::Abort, Abort}, {QMessageBox::Retry, Retry}, {QMessageBox::Ignore, Ignore}};
        break;
    case YesNoCancel:
        buttons = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}, {QMessageBox::Cancel, Cancel}};
        break;
    case YesNo:
        buttons = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}};
        break;
    case RetryCancel:
        buttons = {{QMessageBox::Retry, Retry}, {QMessageBox::Cancel, Cancel}};
        break;
    default:
        buttons = {{QMessageBox::Ok, Ok}};
        break;
    }
    QMessageBox::StandardButtons set;
    for (const B& b : buttons)
        set |= b.qt;
    box.setStandardButtons(set);
    const int defaultIndex = (style & DefaultButton2) && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(buttons[defaultIndex].qt);
    auto* answerKeys = new AnswerKeys;
    const int clicked = forms::execModal(box);
    answerKeys->boxClosed();
    for (const B& b : buttons)
        if (clicked == b.qt) return b.result;
    return buttons.size() > 1 ? Cancel : Ok; // closed by the window's close box
}

namespace {

// The notice takes no keyboard focus, not even from a click on it: every key
// goes on to the box the operator types in. A window manager may give it the
// focus all the same: keys that reach it then go on to the box that has the
// focus in the window the operator typed in (Enter and Tab too, which move
// on from box to box there), and the focus goes back there. Esc answers the
// notice, as does a click on its button.
class NoticeKeys : public QObject {
  public:
    NoticeKeys(QMessageBox* box, QWidget* typingIn) : QObject(box), box_(box), typingIn_(typingIn) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != box_ || !typingIn_) return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Escape ||
            (key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        QWidget* target = typingIn_->window()->focusWidget();
        if (!target) target = typingIn_;
        target->activateWindow();
        target->setFocus();
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat());
        QApplication::sendEvent(target, &copy);
        return true;
    }

  private:
    QMessageBox* box_;
    QPointer<QWidget> typingIn_;
};

const QString kNoticeName = QStringLiteral("zvNotice");

QMessageBox* noticeOnShow(const QString& prompt, const QString& title) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(top);
        if (box && box->objectName() == kNoticeName && box->isVisible() && box->text() == prompt &&
            box->windowTitle() == title)
            return box;
    }
    return nullptr;
}

} // namespace

void notice(const QString& prompt, const QString& title) {
    if (scripted(QStringLiteral("msgBox"), prompt, title, OkOnly)) return;
    // The same notice still on show is not shown again: one says it.
    if (noticeOnShow(prompt, title)) return;
    QWidget* typingIn = QApplication::focusWidget();
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, parentWindow());
    box->setObjectName(kNoticeName);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    new NoticeKeys(box, typingIn);
    box->show();
    if (typingIn && QApplication::focusWidget() != typingIn) {
        typingIn->activateWindow();
        typingIn->setFocus();
    }
}

void withdrawNotice(const QString& prompt, const QString& title) {
    if (QMessageBox* box = noticeOnShow(prompt, title)) box->close();
}

std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    if (auto answer = scripted(QStringLiteral("inputBox"), prompt, title, 0)) {
        if (!answer->isValid()) return std::nullopt;
        return answer->toString();
    }
    QInputDialog box(parentWindow());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    if (forms::execModal(box) != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

// A desktop's own dialog may compare names by case; Qt's compares them as the
// station's file system does.
int fileDialogOptions() {
    return int(QFileDialog::DontUseNativeDialog);
}

namespace {

// A file named at the start is shown chosen in its folder.
QString chosenFile(const QString& title, const QString& start, const QString& filter,
                   QFileDialog::AcceptMode mode) {
    QFileDialog box(parentWindow(), title, start, filter);
    box.setOptions(QFileDialog::Options(fileDialogOptions()));
    const QFileInfo named(start);
    if (!start.isEmpty() && !named.isDir()) {
        box.setDirectory(named.absolutePath());
        box.selectFile(named.fileName());
    }
    box.setAcceptMode(mode);
    box.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (forms::execModal(box) != QDialog::Accepted) return {};
    return box.selectedFiles().value(0);
}

std::optional<QColor> pickedColour(const QColor& initial, QWidget* parent) {
    QColorDialog box(initial, parent);
    if (forms::execModal(box) != QDialog::Accepted) return std::nullopt;
    return box.selectedColor();
}

} // namespace

QString openFileName(const QString& title, const QString& folder, const QString& filter) {
    if (auto answer = scripted(QStringLiteral("openFile"), folder, title, 0)) return answer->toString();
    return chosenFile(title, folder, filter, QFileDialog::AcceptOpen);
}

QString saveFileName(const QString& title, const QString& suggested, const QString& filter) {
    if (auto answer = scripted(QStringLiteral("saveFile"), suggested, title, 0)) return answer->toString();
    return chosenFile(title, suggested, filter, QFileDialog::AcceptSave);
}

std::optional<QColor> chooseColour(const QColor& initial) {
    if (auto answer = scripted(QStringLiteral("colour"), initial.name(), QString(), 0)) {
        if (!answer->isValid()) return std::nullopt;
        return answer->value<QColor>();
    }
    const std::optional<QColor> c = pickedColour(initial, parentWindow());
    if (!c || !c->isValid()) return std::nullopt;
    return c;
}

std::optional<QFont> chooseFont(const QFont& initial) {
    if (auto answer = scripted(QStringLiteral("font"), initial.family(), QString(), 0)) {
        if (!answer->isValid()) return std::nullopt;
        return answer->value<QFont>();
    }
    QFontDialog dialog(initial, parentWindow());
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // Qt's size box takes whole points only ("10.5" became "105"); half points
    // are sizes of ours, so the box takes them and its text is the size chosen.
    QLineEdit* sizeBox = nullptr;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        if (qobject_cast<const QIntValidator*>(edit->validator())) sizeBox = edit;
    if (sizeBox) {
        auto* halves = new QDoubleValidator(1, 512, 1, sizeBox);
        halves->setNotation(QDoubleValidator::StandardNotation);
        halves->setLocale(QLocale::c());
        sizeBox->setValidator(halves);
        sizeBox->setText(QString::number(initial.pointSizeF(), 'g', 4));
    }
    if (forms::execModal(dialog) != QDialog::Accepted) return std::nullopt;
    QFont f = dialog.selectedFont();
    bool ok = false;
    const double points = sizeBox ? sizeBox->text().toDouble(&ok) : 0;
    if (ok && points > 0) f.setPointSizeF(points);
    return f;
}

std::optional<FontChoice> chooseFontWithColour(const QFont& initial, const QColor& colour) {
    if (auto answer = scripted(QStringLiteral("font"), initial.family(), QString(), 0)) {
        if (!answer->isValid()) return std::nullopt;
        if (answer->typeId() == QMetaType::QFont) return FontChoice{answer->value<QFont>(), colour};
        const QVariantList both = answer->toList();
        return FontChoice{both.value(0).value<QFont>(), both.value(1).value<QColor>()};
    }
    QDialog box(parentWindow());
    box.setWindowTitle(QStringLiteral("フォント"));
    auto* fonts = new QFontDialog(initial, &box);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons);
    QColor chosen = colour;
    auto* colourButton = new QPushButton(QStringLiteral("色(&C)..."));
    auto showColour = [colourButton, &chosen] {
        colourButton->setStyleSheet(QStringLiteral("background-color: %1").arg(chosen.name()));
    };
    showColour();
    QObject::connect(colourButton, &QPushButton::clicked, &box, [&] {
        const std::optional<QColor> c = pickedColour(chosen, &box);
        if (c && c->isValid()) chosen = *c;
        showColour();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(fonts);
    layout->addWidget(colourButton);
    layout->addWidget(buttons);
    if (forms::execModal(box) != QDialog::Accepted) return std::nullopt;
    return FontChoice{fonts->currentFont(), chosen};
}

void answerAtOnce(bool on) {
    atOnce = on;
}

AskOver::AskOver() : window_(askedOver()) {
    // The window the question began in, kept above its own dialogs: a file
    // dialog just closed may leave no window active yet.
    if (!askedOver()) askedOver() = QApplication::activeWindow();
}

AskOver::~AskOver() {
    askedOver() = window_;
}

void sayUnstorable(const QString& characters) {
    msgBox(QStringLiteral("「") + characters +
               QStringLiteral("」は設定ファイルに保存できない文字です。\n別の文字に直して下さい。"),
           OkOnly + Exclamation);
}

namespace script {
void begin() {
    state() = {};
    state().active = true;
}
void end() {
    state() = {};
}
bool active() {
    return state().active;
}
void push(const QVariant& answer) {
    state().answers.enqueue(answer);
}
void answerBy(std::function<QVariant(const Asked&)> chooser) {
    state().chooser = std::move(chooser);
}
const QList<Asked>& asked() {
    return state().asked;
}
void clearAsked() {
    state().asked.clear();
}
void whenAsked(std::function<void(const Asked&)> look) {
    state().look = std::move(look);
}
} // namespace script

} // namespace ui
