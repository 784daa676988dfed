#pragma once
// Small helpers the settings sheet's tabs share: arrays of option buttons that
// may have none selected, the colours of a configured button, and the stored
// switch texts.
#include <QButtonGroup>
#include <QLayout>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QAbstractButton;
class PSK31MAIN;

namespace settings {

constexpr std::uint32_t kLightGreen = 0xC0FFC0;
constexpr std::uint32_t kLightOrange = 0x80C0FF;

inline QString YesNo(bool on) {
    return on ? QStringLiteral("YES") : QStringLiteral("NO");
}
inline QString OneZero(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The tooltips of a button that names a chosen file, and of one that has none.
inline QString ConfiguredTip(const QString& what, const QString& path) {
    return what + QStringLiteral("は現在　") + path + QStringLiteral(" が設定されています。");
}
inline QString NotConfiguredTip(const QString& what) {
    return what + QStringLiteral("は現在設定されていません。");
}

// The tooltip of the eQSL remarks button for the message held.
inline QString EqslRemarksTip(const QString& message) {
    const QString remarks = QStringLiteral("電子QSL用QSLカードへのRemarks文は現在");
    if (message.isEmpty()) return remarks + QStringLiteral("設定されていません。");
    return remarks + QStringLiteral("「　") + message + QStringLiteral(" 」が設定されています。");
}

// Option buttons of one array: a click (or a selection from code) runs the
// handler with the button's index.
template <std::size_t N>
void MakeOptions(std::array<QRadioButton*, N>& options, const QStringList& captions, QLayout* layout,
                 const std::function<void(int)>& handler) {
    auto* group = new QButtonGroup(layout);
    for (std::size_t i = 0; i < N; ++i) {
        options[i] = new QRadioButton(captions.value(qsizetype(i)));
        group->addButton(options[i], int(i));
        layout->addWidget(options[i]);
        QObject::connect(options[i], &QRadioButton::toggled, options[i], [handler, i](bool on) {
            if (on) handler(int(i));
        });
    }
}

// Selects the option with this index, or none for -1.
template <std::size_t N> void SelectOption(std::array<QRadioButton*, N>& options, int index) {
    if (index >= 0 && index < int(N)) {
        options[std::size_t(index)]->setChecked(true);
        return;
    }
    QButtonGroup* group = options[0]->group();
    group->setExclusive(false);
    for (QRadioButton* b : options)
        b->setChecked(false);
    group->setExclusive(true);
}

template <std::size_t N> int SelectedOption(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) return int(i);
    return -1;
}

// The main window when it is loaded (the SSTV mode runs without it).
PSK31MAIN* LoadedMain();

// A button's configured look: a colour and a tooltip.
void MarkButton(QAbstractButton* b, std::uint32_t ref, const QString& tip);

// The input box asked again, with what was typed, until its answer is one the
// file can hold; nothing when it is cancelled.
std::optional<QString> AskHeld(const QString& prompt, const QString& title, const QString& preset);

} // namespace settings
