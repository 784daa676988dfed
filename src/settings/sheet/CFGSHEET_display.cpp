// The display tab: pane colours and fonts, the multi-channel window, and how
// received and pasted text is treated.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "terminal/displays/MultiChPos.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");

std::uint32_t refOf(const QString& text) {
    std::uint32_t ref = 0;
    colour::parseRef(text, &ref);
    return ref;
}

// A stored colour's dialog: the chosen colour reference, or nothing when cancelled.
std::optional<std::uint32_t> askColour(const QString& start) {
    const std::optional<QColor> c = ui::chooseColour(colour::fromRef(refOf(start)));
    if (!c) return std::nullopt;
    return colour::toRef(*c);
}

// One pane font as the settings keep it: size, name, bold, italic and colour texts.
struct FontSet {
    QString* colour;
    QString* size;
    QString* name;
    QString* bold;
    QString* italic;
};

QFont fontOf(const FontSet& set) {
    QFont f(*set.name);
    bool ok = false;
    const double size = set.size->toDouble(&ok);
    if (ok && size > 0) f.setPointSizeF(size);
    f.setBold(*set.bold == QLatin1String("True"));
    f.setItalic(*set.italic == QLatin1String("True"));
    return f;
}

QString truth(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// Opens the font dialog from the set; on a choice applies it to the panes and
// copies it into the set. False when cancelled, or when the settings cannot
// hold the font's name: that is said on the chooser and nothing changes.
bool askFont(const FontSet& set, const QList<QWidget*>& panes, QPushButton* chooser) {
    const std::optional<ui::FontChoice> choice =
        ui::chooseFontWithColour(fontOf(set), colour::fromRef(refOf(*set.colour)));
    if (!choice) return false;
    // A font is kept by its name: one the settings would give back as another is refused whole.
    if (!core::IniHoldsName(choice->font.family(), chooser->text())) {
        chooser->setFocus();
        return false;
    }
    const std::uint32_t ref = colour::toRef(choice->colour);
    for (QWidget* pane : panes) {
        pane->setFont(choice->font);
        colour::setForeColor(pane, ref);
        if (auto* rich = qobject_cast<RichTextPane*>(pane)) rich->setSelColor(choice->colour);
    }
    *set.colour = QString::number(ref);
    *set.size = QString::number(choice->font.pointSizeF());
    *set.name = choice->font.family();
    *set.bold = truth(choice->font.bold());
    *set.italic = truth(choice->font.italic());
    return true;
}

struct FontKey {
    core::IniKey key;
    QString value;
};

// The font's name through the name writer and its other keys, in one write.
void putFont(const char* nameKey, const QString& name, const QList<FontKey>& keys) {
    core::IniBatch together;
    core::PutIniName(kCfg, QString::fromLatin1(nameKey), name);
    for (const auto& [key, value] : keys)
        core::PutIniText(kCfg, key, value);
}

} // namespace

QWidget* CFGSHEET::buildDisplayTab() {
    auto* tab = new QWidget;
    Frame19 = new QGroupBox;
    auto* grid = new QGridLayout(Frame19);
    Command1 = new QPushButton(QStringLiteral("受信画面色"));
    Command3 = new QPushButton(QStringLiteral("送信画面色"));
    Command10 = new QPushButton(QStringLiteral("PlayBack画面色"));
    Command5 = new QPushButton(QStringLiteral("送信済文字色"));
    Command2 = new QPushButton(QStringLiteral("受信文字種"));
    Command4 = new QPushButton(QStringLiteral("送信文字種"));
    grid->addWidget(Command1, 0, 0);
    grid->addWidget(Command3, 0, 1);
    grid->addWidget(Command10, 0, 2);
    grid->addWidget(Command5, 1, 0);
    grid->addWidget(Command2, 1, 1);
    grid->addWidget(Command4, 1, 2);
    connect(Command1, &QPushButton::clicked, this, &CFGSHEET::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &CFGSHEET::Command3_Click);
    connect(Command10, &QPushButton::clicked, this, &CFGSHEET::Command10_Click);
    connect(Command5, &QPushButton::clicked, this, &CFGSHEET::Command5_Click);
    connect(Command2, &QPushButton::clicked, this, &CFGSHEET::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &CFGSHEET::Command4_Click);

    Frame5 = new QGroupBox(QStringLiteral("多重受信関係"));
    auto* multi = new QVBoxLayout(Frame5);
    Command8 = new QPushButton(QStringLiteral("多重受信文字種"));
    Check5 = new QCheckBox(QStringLiteral("水平表示"));
    Check6 = new QCheckBox(QStringLiteral("常に手前に表示"));
    multi->addWidget(Command8);
    multi->addWidget(Check5);
    multi->addWidget(Check6);
    grid->addWidget(Frame5, 2, 0, 3, 1);
    connect(Command8, &QPushButton::clicked, this, &CFGSHEET::Command8_Click);
    connect(Check5, &QCheckBox::toggled, this, &CFGSHEET::Check5_Click);
    connect(Check6, &QCheckBox::toggled, this, &CFGSHEET::Check6_Click);

    Check7 = new QCheckBox(QStringLiteral("全角英数は半角に変換"));
    Check8 = new QCheckBox(QStringLiteral("張付け時に引用符付加"));
    Text3 = new QLineEdit;
    Check12 = new QCheckBox(QStringLiteral("送受切替時にﾀｲﾑｽﾀﾝﾌﾟ"));
    grid->addWidget(Check7, 2, 1, 1, 2);
    grid->addWidget(Check8, 3, 1);
    auto* quote = new QHBoxLayout;
    quote->addWidget(new QLabel(QStringLiteral("引用符記号")));
    quote->addWidget(Text3);
    grid->addLayout(quote, 3, 2);
    grid->addWidget(Check12, 4, 1, 1, 2);
    connect(Check7, &QCheckBox::toggled, this, &CFGSHEET::Check7_Click);
    connect(Check8, &QCheckBox::toggled, this, &CFGSHEET::quoteMarkChanged);
    connect(Text3, &QLineEdit::textChanged, this, &CFGSHEET::quoteMarkChanged);
    connect(Check12, &QCheckBox::toggled, this, &CFGSHEET::Check12_Click);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Frame19);
    layout->addStretch();
    return tab;
}

void CFGSHEET::Command1_Click() {
    const std::optional<std::uint32_t> ref = askColour(core::g.RxBackColor);
    if (!ref) return;
    if (PSK31MAIN* main = settings::LoadedMain()) colour::setBackColor(main->RichTextBox1, *ref);
    core::PutIniText(kCfg, "RCVBKCLR", QString::number(*ref));
}

void CFGSHEET::Command3_Click() {
    const std::optional<std::uint32_t> ref = askColour(core::g.TxBackColor);
    if (!ref) return;
    if (PSK31MAIN* main = settings::LoadedMain()) colour::setBackColor(main->Text1, *ref);
    core::PutIniText(kCfg, "TXBKCLR", QString::number(*ref));
}

void CFGSHEET::Command10_Click() {
    const std::optional<std::uint32_t> ref = askColour(core::g.PlaybackBackColor);
    if (!ref) return;
    if (PSK31MAIN* main = settings::LoadedMain()) colour::setBackColor(main->RichTextBox2, *ref);
    core::PutIniText(kCfg, "PBBKCLR", QString::number(*ref));
}

void CFGSHEET::Command5_Click() {
    // The dialog starts from the colour in use, so that a cancel changes nothing.
    const std::optional<std::uint32_t> ref = askColour(core::g.TxAreaBackColor);
    if (!ref) return;
    core::g.TxAreaBackColor = QString::number(*ref);
    core::PutIniText(kCfg, "TXARCLR", core::g.TxAreaBackColor);
}

void CFGSHEET::Command2_Click() {
    core::Globals& g = core::g;
    PSK31MAIN& main = forms::PSK31MAIN();
    if (!askFont({&g.RxForeColor, &g.RxFontSize, &g.RxFontName, &g.RxFontBold, &g.RxFontItalic},
                 {main.RichTextBox1, main.RichTextBox2}, Command2))
        return;
    putFont("RCVFNAME", g.RxFontName,
            {{"RCVFRCLR", g.RxForeColor},
             {"RCVFSIZE", g.RxFontSize},
             {"RCVFBOLD", g.RxFontBold},
             {"RCVFITAL", g.RxFontItalic}});
}

void CFGSHEET::Command4_Click() {
    core::Globals& g = core::g;
    if (!askFont({&g.TxForeColor, &g.TxFontSize, &g.TxFontName, &g.TxFontBold, &g.TxFontItalic},
                 {forms::PSK31MAIN().Text1}, Command4))
        return;
    putFont("TXFNAME", g.TxFontName,
            {{"TXFSIZE", g.TxFontSize},
             {"TXFBOLD", g.TxFontBold},
             {"TXFITAL", g.TxFontItalic},
             {"TXFRCLR", g.TxForeColor}});
}

void CFGSHEET::Command8_Click() {
    core::Globals& g = core::g;
    multi_ch& m = forms::multi_ch();
    if (!askFont(
            {&g.MultiForeColor, &g.MultiFontSize, &g.MultiFontName, &g.MultiFontBold, &g.MultiFontItalic},
            {m.RichTextBox1, m.RichTextBox2}, Command8))
        return;
    putFont("MLTRCVFNAME", g.MultiFontName,
            {{"MLTRCVFRCLR", g.MultiForeColor},
             {"MLTRCVFSIZE", g.MultiFontSize},
             {"MLTRCVFBOLD", g.MultiFontBold},
             {"MLTRCVFITAL", g.MultiFontItalic}});
}

void CFGSHEET::Check5_Click() {
    const QString text = settings::YesNo(Check5->isChecked());
    core::PutIniText(QStringLiteral("MultiDSP"), "HORZ", text);
    // A window that is not open takes the arrangement from HORZ when it opens;
    // loading it here would store the layout of a window never shown.
    if (!forms::isLoaded<multi_ch>()) return;
    multi_ch& m = forms::multi_ch();
    m.MultiHorizontalText = text;
    m.MultiHorizontal = Check5->isChecked() ? 1 : 0;
    terminal::displays::ArrangeMultiCh();
}

void CFGSHEET::Check6_Click() {
    const QString text = settings::YesNo(Check6->isChecked());
    core::PutIniText(QStringLiteral("MultiDSP"), "TOPV", text);
    if (forms::isLoaded<multi_ch>()) forms::multi_ch().MultiOnTop = text;
}

void CFGSHEET::Check7_Click() {
    core::g.ZenHanConv = settings::YesNo(Check7->isChecked());
    core::PutIniText(kCfg, "ZENHAN_CONV", core::g.ZenHanConv);
}

void CFGSHEET::quoteMarkChanged() {
    core::g.UseQuoteMark = settings::YesNo(Check8->isChecked());
    core::IniBatch together;
    core::PutIniText(kCfg, "UseQuot_Mark", core::g.UseQuoteMark);
    // A mark the file cannot hold waits in the box: leaving the box says so,
    // and the sheet does not close on it.
    const QString mark = Text3->text().trimmed();
    if (core::IniUncarried(mark).isEmpty()) core::PutIniText(kCfg, "Quot_Mark", mark);
}

void CFGSHEET::Check12_Click() {
    core::g.TrxTimeStampOn = settings::YesNo(Check12->isChecked());
}
