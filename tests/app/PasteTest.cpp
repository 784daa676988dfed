// No paste ends the program: every box and pane of every window, its text
// selected, with Ctrl+V, Shift+Insert and the paste of its own menu, on a
// clipboard the program has emptied and on one that offers nothing at all (on
// X11 one that no program owns), and the box holds what it held; a text of two
// lines goes into a one-line box as one line, and a character the settings
// file cannot hold is never stored there as "?".
#include "app/RunningProgram.h"

#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/text/Clipboard.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

class Paste : public apptest::RunningProgram {};

QString textOf(QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(box)) return rich->toPlainText();
    if (auto* list = qobject_cast<QComboBox*>(box)) return list->currentText();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(box)) return spin->text();
    return {};
}

// The right click as the window system brings it, which opens the box's own
// menu (run modally): its paste is chosen when it is offered, else Esc.
void pasteFromOwnMenu(QWidget* box) {
    QTimer::singleShot(0, box, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        if (!paste || !paste->isEnabled() || !zvtest::chooseInPopup(menu, paste))
            if (QApplication::activePopupWidget())
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    });
    QWidget* window = box->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, box->mapTo(window, box->rect().center()));
    zvtest::waitForPostedEvents();
    while (QWidget* left = QApplication::activePopupWidget())
        QTest::keyClick(left, Qt::Key_Escape);
}

TEST_F(Paste, NoBoxOfAnyWindowEndsTheProgramOnAnEmptyClipboard) {
    const struct {
        const char* name;
        std::function<void()> fill;
        bool lines = false;
        bool unheld = false; // characters the settings file cannot hold
    } clipboards[] = {
        {"emptied by the program", [] { clipboard::empty(); }},
        {"offering nothing", [] { QGuiApplication::clipboard()->setMimeData(new QMimeData); }},
        {"two lines", [] { clipboard::hold(QStringLiteral("Q1\r\n[Q2]")); }, true},
        {"a euro sign", [] { clipboard::hold(QStringLiteral("JA1€X")); }, false, true},
    };
    const struct {
        const char* name;
        std::function<void(QWidget*)> paste;
    } ways[] = {
        {"Ctrl+V", [](QWidget* box) { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"its menu's paste", pasteFromOwnMenu},
    };
    int walked = 0;
    bool sstv = false;
    for (const apptest::ProgramWindow& window : apptest::everyWindow()) {
        SCOPED_TRACE(window.name);
        if (window.sstv && !sstv) {
            ASSERT_TRUE(apptest::toSstv());
            sstv = true;
        }
        QWidget& shown = window.open();
        ASSERT_TRUE(zvtest::waitExposed(&shown));
        for (QWidget* found : apptest::editableBoxes(&shown)) {
            QPointer<QWidget> box = found;
            SCOPED_TRACE(box->objectName().toStdString() + " " + box->metaObject()->className());
            for (const auto& clip : clipboards) {
                for (const auto& way : ways) {
                    SCOPED_TRACE(std::string(clip.name) + ", " + way.name);
                    if (!box || !box->isVisible()) break;
                    QTest::mouseClick(box, Qt::LeftButton);
                    while (QWidget* popup = QApplication::activePopupWidget())
                        QTest::keyClick(popup, Qt::Key_Escape);
                    QWidget* keys = box->focusProxy() ? box->focusProxy() : box.data();
                    QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
                    const QString before = textOf(box);
                    const qsizetype marks = readFile(QStringLiteral("ZORVATEK.INI")).count('?');
                    clip.fill();
                    way.paste(keys);
                    ASSERT_TRUE(zvtest::waitForPostedEvents());
                    if (!box) break;
                    const bool oneLine =
                        !qobject_cast<QPlainTextEdit*>(box) && !qobject_cast<QTextEdit*>(box);
                    if (clip.unheld) {
                        EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.INI")).count('?'), marks)
                            << "no writer stores \"?\" in its place";
                    } else if (clip.lines) {
                        const QString after = textOf(box);
                        EXPECT_TRUE(!oneLine ||
                                    !(after.contains(QLatin1Char('\r')) || after.contains(QLatin1Char('\n'))))
                            << after.toStdString();
                    } else if (!qobject_cast<RichTextPane*>(box)) {
                        // Received text goes on arriving in the panes.
                        EXPECT_EQ(textOf(box), before);
                    }
                    ++walked;
                }
            }
        }
    }
    EXPECT_GT(walked, 200) << "every window's boxes";
}

} // namespace
