// The text editor's font side: the style boxes, the size bar, the font and
// colour dialogs, the favourite fonts, the outline choices and the gradient.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/forms/waits/Waits.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/workshop/SstvTitles.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>

namespace {

const QString kFont = QStringLiteral("FontCFG");
const QString kFavFile = QStringLiteral("Font.DAT");
constexpr int RightButton = 2;

QString truth(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

QColor fontColour(const QString& text) {
    std::uint32_t ref = 0xFFFFFF;
    if (!colour::parseRef(text.trimmed(), &ref)) ref = 0xFFFFFF;
    return colour::fromRef(ref);
}

QString favFile() {
    return paths::join(paths::programFolder(), kFavFile);
}

int buttonCode(Qt::MouseButton b) {
    return b == Qt::RightButton ? 2 : b == Qt::LeftButton ? 1 : 4;
}

// The two buttons that take the right mouse button, and the favourite list
// that hides when it loses the focus.
class EditorEvents : public forms::WindowFilter {
  public:
    explicit EditorEvents(mojiinput& w) : WindowFilter(&w), w_(w) {
        watch(w.Command3);
        watch(w.Command10);
        watch(w.List1);
        watch(w.Label8);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusOut && watched == w_.List1) {
            w_.List1->hide();
            return false;
        }
        if (e->type() == QEvent::MouseButtonRelease && watched == w_.Label8) {
            w_.Label8_Click();
            return true;
        }
        if (e->type() != QEvent::MouseButtonPress) return false;
        const int button = buttonCode(static_cast<QMouseEvent*>(e)->button());
        if (watched == w_.Command3)
            w_.Command3_MouseDown(button);
        else if (watched == w_.Command10)
            w_.Command10_MouseDown(button);
        else
            return false;
        return button == RightButton;
    }

  private:
    mojiinput& w_;
};

} // namespace

void mojiinput::connectControls() {
    connect(mojicls, &QAction::triggered, this, &mojiinput::CloseByOperator);
    connect(Text1, &QLineEdit::textChanged, this, &mojiinput::Text1_Change);
    connect(List2, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { List2_Click(item->text()); });
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { List1_Click(item->text()); });
    connect(Command1, &QPushButton::clicked, this, &mojiinput::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &mojiinput::Command2_Click);
    connect(Check1, &QCheckBox::toggled, this, &mojiinput::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &mojiinput::Check2_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &mojiinput::VScroll1_Change);
    for (int i : sstv::OutlineIndices)
        connect(Option1[std::size_t(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    for (int c = 0; c < 3; ++c) {
        connect(GradBar[std::size_t(c)], &QScrollBar::valueChanged, this, [this, c] { GradBar_Change(c); });
        connect(Option2[std::size_t(c)], &QRadioButton::clicked, this, [this, c] { Option2_Click(c); });
    }
    // The designer's choice: the editor's loading changes no line's outline.
    Option1[0]->setChecked(true);
    new EditorEvents(*this);
}

void mojiinput::SyncStyleChecks() {
    const sstv::TitleFont& font = sstv::titles.font;
    Check1->setChecked(sstv::IsTrueText(font.bold));
    Check2->setChecked(sstv::IsTrueText(font.italic));
}

void mojiinput::applyFontTo(QLabel* label, bool withSize) const {
    const sstv::TitleFont& font = sstv::titles.font;
    QFont f = label->font();
    f.setFamily(font.name);
    f.setBold(sstv::IsTrueText(font.bold));
    f.setItalic(sstv::IsTrueText(font.italic));
    if (withSize) f.setPointSizeF(sstv::TitleFontPoints(font.size));
    label->setFont(f);
    colour::setForeColor(label, colour::toRef(fontColour(font.color)));
}

void mojiinput::UpdateFontSample() {
    Label2->setText(core::g.UserCall);
    applyFontTo(Label2, false);
    Label3->setText(sstv::titles.font.size);
    applyFontTo(Label3, true);
    if (QLabel* line = selectedTitle()) {
        sstv::ApplyTitleFont(line, sstv::titles.font);
        line->adjustSize();
    }
}

void mojiinput::Check1_Click() {
    sstv::titles.font.bold = truth(Check1->isChecked());
    core::PutIniText(kFont, "FntBOLD", sstv::titles.font.bold);
    UpdateFontSample();
}

void mojiinput::Check2_Click() {
    sstv::titles.font.italic = truth(Check2->isChecked());
    core::PutIniText(kFont, "FntITAL", sstv::titles.font.italic);
    UpdateFontSample();
}

void mojiinput::VScroll1_Change() {
    sstv::titles.font.size = QString::number(VScroll1->value());
    UpdateFontSample();
}

void mojiinput::Command1_Click() {
    SyncStyleChecks();
    sstv::TitleFont& font = sstv::titles.font;
    QFont preset(font.name);
    preset.setPointSizeF(sstv::TitleFontPoints(font.size));
    preset.setBold(sstv::IsTrueText(font.bold));
    preset.setItalic(sstv::IsTrueText(font.italic));
    const QColor colour = fontColour(font.color);
    dialogColour_ = colour;
    // A cancelled dialog gives back what it was preset with.
    const QFont chosen = ui::chooseFont(preset).value_or(preset);
    // A font is kept by its name: one the settings cannot hold is refused whole.
    if (!core::IniHoldsName(chosen.family(), Command1->text())) {
        Command1->setFocus();
        return;
    }
    const QString size = sstv::FontSizeText(chosen.pointSizeF());
    font.name = chosen.family();
    font.size = size;
    font.bold = truth(chosen.bold());
    font.italic = truth(chosen.italic());
    font.color = QString::number(colour::toRef(colour));
    if (QLabel* line = selectedTitle()) sstv::ApplyTitleFont(line, font);
    VScroll1->setValue(sstv::RoundedSize(chosen.pointSizeF()));
    Check1->setChecked(sstv::IsTrueText(font.bold));
    Check2->setChecked(sstv::IsTrueText(font.italic));
    core::PutIniText(kFont, "FntFRCLR", QString::number(colour::toRef(colour)));
    core::PutIniText(kFont, "FntSIZE", size);
    core::PutIniName(kFont, QStringLiteral("FntNAME"), chosen.family());
    core::PutIniText(kFont, "FntBOLD", truth(chosen.bold()));
    core::PutIniText(kFont, "FntITAL", truth(chosen.italic()));
    UpdateFontSample();
}

void mojiinput::Command2_Click() {
    SyncStyleChecks();
    // The dialog is not preset: a cancel returns the colour it last held.
    if (const auto chosen = ui::chooseColour(dialogColour_)) dialogColour_ = *chosen;
    const std::uint32_t ref = colour::toRef(dialogColour_);
    if (sstv::g.TitleBarEditing == 1) {
        if (forms::isLoaded<SSTVForm>()) colour::setForeColor(forms::SSTVForm().Label4, ref);
        return;
    }
    if (QLabel* line = selectedTitle()) colour::setForeColor(line, ref);
    sstv::titles.font.color = QString::number(ref);
    core::PutIniText(kFont, "FntFRCLR", sstv::titles.font.color);
    UpdateFontSample();
}

void mojiinput::readFavourites() {
    if (const auto entries = sstv::ReadListFile(favFile(), true)) {
        List1->clear();
        List1->addItems(*entries);
    }
}

void mojiinput::Command10_MouseDown(int Button) {
    if (Button != RightButton) {
        List1->show();
        List1->raise();
        List1->setFocus();
        return;
    }
    const QString entry = sstv::FavouriteEntry(sstv::titles.font);
    QStringList entries;
    for (int i = 0; i < List1->count(); ++i)
        entries << List1->item(i)->text();
    if (sstv::HoldsFavourite(entries, entry)) return;
    // The entry leads with the font's name: what the list gives back must name the same font.
    if (!ui::heldOrSaid(cp932::uncarriedInName(entry), Command10, Command10->text(),
                        kFavFile + QStringLiteral(" に保存")))
        return;
    List1->addItem(entry);
    if (!sstv::WriteListFile(favFile(), entries << entry, true))
        ui::msgBox(QStringLiteral("お気に入りFONTを保存できませんでした: ") +
                       QDir::toNativeSeparators(favFile()),
                   ui::OkOnly | ui::Exclamation);
}

void mojiinput::List1_Click(const QString& entry) {
    const auto chosen = sstv::ParseFavourite(entry);
    if (!chosen) return List1->hide();
    sstv::TitleFont& font = sstv::titles.font;
    font.name = chosen->name;
    font.size = chosen->size;
    font.color = chosen->color;
    font.bold = chosen->bold;
    Check1->setChecked(sstv::IsTrueText(font.bold));
    font.italic = chosen->italic;
    Check2->setChecked(sstv::IsTrueText(font.italic));
    List1->setToolTip(QStringLiteral("Font=") + font.name + QStringLiteral("/") + QStringLiteral("Size=") +
                      font.size);
    UpdateFontSample();
    List1->hide();
}

void mojiinput::SelectOutline(int Index) {
    if (Index < 0 || std::size_t(Index) >= Option1.size() || !Option1[std::size_t(Index)]) return;
    Option1[std::size_t(Index)]->setChecked(true);
    Option1_Click(Index);
}

void mojiinput::Option1_Click(int Index) {
    sstv::Globals& s = sstv::g;
    std::vector<int>& outlines = sstv::titles.SstvTitleOutline;
    if (outlines.size() <= std::size_t(s.SelectedTitle)) outlines.resize(std::size_t(s.SelectedTitle) + 1, 0);
    outlines[std::size_t(s.SelectedTitle)] = Index;
    if (const auto row = sstv::OutlineFor(Index)) {
        s.OutlineRgb = row->colour;
        s.OutlineOn = row->on;
    }
    s.OutlineChoice = Index;
    const QString back = QStringLiteral("BackColor");
    core::PutIniText(back, "MBCcode", QString::number(s.OutlineRgb));
    core::PutIniText(back, "MBCmode", QString::number(s.OutlineOn));
}

void mojiinput::setBar(int component, int value) {
    GradBar[std::size_t(component)]->setValue(value);
}

void mojiinput::GradBar_Change(int Component) {
    sstv::Globals& s = sstv::g;
    const int value = GradBar[std::size_t(Component)]->value();
    int* globals[] = {&s.GradRed, &s.GradGreen, &s.GradBlue};
    *globals[Component] = value;
    GradLabel[std::size_t(Component)]->setText(QString::number(value));
    forms::letEventsRun();
    if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().DrawGradient(forms::SSTVForm().Picture14);
}

void mojiinput::Option2_Click(int Index) {
    sstv::Globals& s = sstv::g;
    if (Index < 0 || Index > 2) return;
    sstv::GradientBars bars;
    for (int c = 0; c < 3; ++c)
        bars.value[std::size_t(c)] = GradBar[std::size_t(c)]->value();
    bars.kept = GradKept;
    bars.running = s.GradChannel;
    const sstv::GradientBars next = sstv::ChooseRunning(bars, Index);
    GradKept = next.kept;
    setBar(Index, 255);
    s.GradChannel = Index;
    for (int c = 0; c < 3; ++c) {
        GradBar[std::size_t(c)]->setEnabled(next.enabled[std::size_t(c)]);
        if (c != Index) setBar(c, next.value[std::size_t(c)]);
    }
    const auto labels = sstv::GradientLabels(next);
    for (int c = 0; c < 3; ++c)
        GradLabel[std::size_t(c)]->setText(labels[std::size_t(c)]);
    if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().DrawGradient(forms::SSTVForm().Picture14);
}
