// Registering the ALT+letter shortcut of a macro in the editor.
#include "terminal/macros/MACRO_FORM.h"

#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "terminal/macros/MacroFile.h"

#include <QKeyEvent>

using terminal::macros::g;

namespace {
const QString kRegisteringCaption = QStringLiteral("ショートカットキー登録中    (ALT+ A～Z)を押します");
} // namespace

bool MACRO_FORM::eventFilter(QObject* watched, QEvent* e) {
    for (int i = 0; i < terminal::macros::kCount; ++i) {
        const auto idx = static_cast<std::size_t>(i);
        if (e->type() == QEvent::MouseButtonDblClick && watched == Text2[idx]) {
            Text2_DblClick(i);
            return true;
        }
        if (e->type() == QEvent::MouseButtonDblClick && watched == Text1[idx]->viewport()) {
            Text1_DblClick(i);
            return true;
        }
        if (e->type() == QEvent::KeyPress && watched == Text1[idx]) {
            const auto* k = static_cast<QKeyEvent*>(e);
            return Text1_KeyDown(i, k->key(), k->modifiers());
        }
    }
    return QWidget::eventFilter(watched, e);
}

void MACRO_FORM::Text1_DblClick(int) {
    ui::msgBox(QStringLiteral("このマクロを実行させるｼｮｰﾄｶｯﾄｷｰを登録します\r\n"
                              "OK を押してから ALTｷｰと任意ｷｰ(A-Z 但し M,R,T,X を除く)を押してください\r\n"
                              "実行は ALT + で\r\n"
                              "ｼｮｰﾄｶｯﾄｷｰの削除は ALT + DEL で"),
               ui::OkOnly);
    core::g.ShortcutRegistering = 1;
    Label3->setText(kRegisteringCaption + QStringLiteral("\r\n現在の定義済みキー文字は\r\n") +
                    g.UsedShortcutKeys);
    Label3->show();
}

bool MACRO_FORM::Text1_KeyDown(int i, int key, Qt::KeyboardModifiers mods) {
    if (core::g.ShortcutRegistering != 1) return false;
    if (!(mods & Qt::AltModifier)) {
        ui::msgBox(QStringLiteral("ALTキーも一緒に押してね"), ui::OkOnly);
        return true;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar letter(key);
        if (g.UsedShortcutKeys.contains(letter)) {
            ui::msgBox(QStringLiteral("定義済みです、もう一度ダブルクリックしてやり直して下さい。"),
                       ui::OkOnly);
            endRegistration();
        } else {
            assignShortcut(i, letter);
        }
    } else if (key == Qt::Key_Delete) {
        removeShortcut(i);
    } else {
        Label3->setText(kRegisteringCaption);
    }
    return true;
}

void MACRO_FORM::endRegistration() {
    core::g.ShortcutRegistering = 0;
    Label3->hide();
}

// The letter of the name's marker is free again and the marker goes.
void MACRO_FORM::releaseMarkerLetter(int i) {
    const QString name = macroName(i);
    if (const auto letter = terminal::macros::shortcutLetter(name)) {
        const qsizetype at = g.UsedShortcutKeys.lastIndexOf(*letter);
        if (at >= terminal::macros::kReservedShortcutLetters.size()) g.UsedShortcutKeys.remove(at, 1);
    }
    setMacroName(i, terminal::macros::withoutShortcutMarker(name));
}

void MACRO_FORM::assignShortcut(int i, QChar letter) {
    releaseMarkerLetter(i);
    core::g.MacroShortcutKeys[static_cast<std::size_t>(i)] = letter.unicode();
    endRegistration();
    ui::msgBox(QStringLiteral("ALT + ") + letter + QStringLiteral(" に定義しました"), ui::OkOnly);
    setMacroName(i, macroName(i) + QStringLiteral("(s") + letter + QLatin1Char(')'));
    g.UsedShortcutKeys += letter;
}

void MACRO_FORM::removeShortcut(int i) {
    core::g.MacroShortcutKeys[static_cast<std::size_t>(i)] = 0;
    releaseMarkerLetter(i);
    ui::msgBox(QStringLiteral("このｼｮｰﾄｶｯﾄｷｰを削除しました"), ui::OkOnly);
    endRegistration();
}
