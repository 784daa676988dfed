#include "sstv/workshop/SstvTitles.h"

#include "core/Globals.h"
#include "core/Version.h"
#include "core/ini/IniValues.h"
#include "log/LocalTime.h"
#include "log/LogGlobals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/os/Clock.h"
#include "rig/RigGlobals.h"
#include "settings/dialogs/ContestWindow.h"
#include "sstv/overlay/SstvFonts.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"

#include <QAction>
#include <QLabel>

namespace sstv {

TitleStore titles;

namespace {

constexpr int JstAheadOfUtcSecs = 9 * 3600;
constexpr double DefaultTitlePoints = 12;

QString greetingShort(const QString& greeting) {
    static const std::pair<const char*, const char*> shorts[] = {
        {"Good Morning", "GM"}, {"Good Day", "GD"}, {"Good Afternoon", "GA"}, {"Good Evening", "GE"}};
    for (const auto& [full, abbreviation] : shorts)
        if (greeting == QLatin1String(full)) return QString::fromLatin1(abbreviation);
    return {};
}

QString versionText(const TitleInputs& in) {
    return QStringLiteral("ZORVATEK Ver") + QString::number(in.versionMajor) + QLatin1Char('.') +
           QStringLiteral("%1").arg(in.versionMinor, 2, 10, QLatin1Char('0')) +
           QString::number(in.versionRevision, 16).toUpper();
}

QString boxText(const QLineEdit* box) {
    return box ? box->text() : QString();
}

TitleInputs currentInputs() {
    TitleInputs in;
    in.ownCall = core::g.UserCall;
    if (forms::isLoaded<SSTVForm>()) {
        const SSTVForm& f = forms::SSTVForm();
        in.call = boxText(f.Text1);
        in.rst = boxText(f.Text5);
        in.name = boxText(f.Text7);
        in.qth = boxText(f.Text14);
        in.contestNo = boxText(f.Text11);
    }
    in.greeting = logbook::g.GreetingText;
    in.rigFreq = rig::g.RigFreqText;
    in.versionMajor = core::kVersionMajor;
    in.versionMinor = core::kVersionMinor;
    in.versionRevision = core::kVersionRevision;
    in.logTimeUtc = core::g.LogTimeUtc == 1;
    in.local = sysclock::jstNow();
    return in;
}

QLabel* titleLabel(int index) {
    if (!forms::isLoaded<SSTVForm>()) return nullptr;
    const std::vector<QLabel*>& labels = forms::SSTVForm().Label1;
    return index >= 0 && std::size_t(index) < labels.size() ? labels[std::size_t(index)] : nullptr;
}

void applyColor(QLabel* label, const QString& color) {
    std::uint32_t ref = 0xFFFFFF;
    if (!colour::parseRef(color.trimmed(), &ref)) ref = 0xFFFFFF;
    colour::setForeColor(label, ref);
}

void applySize(QLabel* label, const QString& size) {
    QFont f = label->font();
    f.setPointSizeF(TitleFontPoints(size));
    label->setFont(f);
}

void applyFont(QLabel* label, const TitleFont& font) {
    applyColor(label, font.color);
    QFont f = label->font();
    f.setFamily(font.name);
    f.setBold(IsTrueText(font.bold));
    f.setItalic(IsTrueText(font.italic));
    label->setFont(f);
    applySize(label, font.size);
}

// The label array's first element: the template the run-time labels follow.
QLabel* templateLabel(SSTVForm& f) {
    if (f.Label1.empty()) {
        auto* label = new QLabel(f.Picture8);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setFrameShape(QFrame::NoFrame);
        f.Label1.push_back(label);
    }
    return f.Label1.front();
}

} // namespace

TitleExpansion SstvExpandMacros(const QString& text, const TitleInputs& in) {
    const QDateTime utc = in.local.addSecs(-JstAheadOfUtcSecs);
    const QString utcDate = utc.date().toString(QStringLiteral("yyyy-MM-dd"));
    const QString utcTime = utc.toString(QStringLiteral("HH:mm")) + QLatin1Char('U');
    const QString utcShort = utc.toString(QStringLiteral("HHmm"));
    const QString localDate = in.local.date().toString(QStringLiteral("yyyy-MM-dd"));
    const QString localTime = in.local.toString(QStringLiteral("HH:mm")) + QLatin1Char('J');
    const QString localShort = in.local.toString(QStringLiteral("HHmm"));

    TitleExpansion out{text, in.greeting};
    QString& t = out.text;
    const auto put = [&t](const char* variable, const QString& value) {
        t.replace(QLatin1String(variable), value, Qt::CaseSensitive);
    };
    put("%m", in.ownCall);
    put("%c", in.call);
    put("%r", in.rst);
    put("%n", in.name);
    put("%J", in.name + QStringLiteral("さん"));
    put("%q", in.qth);
    put("%R", {});
    put("%N", in.contestNo);
    put("%M", {});
    put("%g", out.greeting);
    // The first expansion of a run works the greeting out after "%g" has had
    // its (empty) turn; "%f" already has it.
    if (out.greeting.isEmpty())
        out.greeting =
            logbook::greetingForHour(in.local.toString(QStringLiteral("HH:mm"))).value_or(QString());
    put("%f", greetingShort(out.greeting));
    put("%D", utcDate);
    put("%T", utcTime);
    put("%t", utcShort);
    put("%L", in.logTimeUtc ? utcDate : localDate);
    put("%U", in.logTimeUtc ? utcTime : localTime);
    put("%u", in.logTimeUtc ? utcShort : localShort);
    put("%B", in.rigFreq);
    put("%b", {});
    put("%o", {});
    put("%v", versionText(in));
    return out;
}

QString SstvExpandMacros(const QString& text) {
    const TitleExpansion e = SstvExpandMacros(text, currentInputs());
    logbook::g.GreetingText = e.greeting;
    return e.text;
}

QString TitleBarShown(const QString& raw) {
    return raw.contains(QLatin1Char('%')) ? SstvExpandMacros(raw) : raw;
}

QString TitleStr() {
    return core::IniStored(QStringLiteral("SSTV_Gen"), QStringLiteral("TitleStr")).value_or(core::g.UserCall);
}

void LoadTitleFont() {
    const QString section = QStringLiteral("FontCFG");
    TitleFont& font = titles.font;
    const TitleFont defaults;
    if (forms::isLoaded<SSTVForm>()) templateLabel(forms::SSTVForm());
    QLabel* current = titleLabel(g.SelectedTitle);
    struct Key {
        const char* key;
        QString TitleFont::*value;
        void (*apply)(QLabel*, const QString&);
    };
    static const Key keys[] = {
        {"FntFRCLR", &TitleFont::color, applyColor},
        {"FntSIZE", &TitleFont::size, applySize},
        {"FntNAME", &TitleFont::name,
         [](QLabel* l, const QString& name) {
             QFont f = l->font();
             f.setFamily(name);
             l->setFont(f);
         }},
        {"FntBOLD", &TitleFont::bold,
         [](QLabel* l, const QString& bold) {
             QFont f = l->font();
             f.setBold(IsTrueText(bold));
             l->setFont(f);
         }},
        {"FntITAL", &TitleFont::italic,
         [](QLabel* l, const QString& italic) {
             QFont f = l->font();
             f.setItalic(IsTrueText(italic));
             l->setFont(f);
         }},
    };
    for (const Key& k : keys) {
        if (const auto stored = core::IniStored(section, QLatin1String(k.key))) {
            font.*k.value = *stored;
            continue;
        }
        font.*k.value = defaults.*k.value;
        if (current) k.apply(current, font.*k.value);
    }
}

void ApplyTitleFont(QLabel* label, const TitleFont& font) {
    if (label) applyFont(label, font);
}

int AddTitleLabel() {
    SSTVForm& f = forms::SSTVForm();
    templateLabel(f);
    const int n = int(f.Label1.size());
    auto* label = new QLabel(f.Picture8);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setFrameShape(QFrame::NoFrame);
    applyFont(label, titles.font);
    label->adjustSize();
    label->show();
    f.Label1.push_back(label);
    g.SelectedTitle = n;
    ++g.SstvTitleCount;
    if (titles.SstvTitleOutline.size() <= std::size_t(n)) {
        titles.SstvTitleOutline.resize(std::size_t(n) + 1, 0);
        while (titles.SstvTitleLines.size() <= n)
            titles.SstvTitleLines.append(QString());
    } else {
        titles.SstvTitleOutline[std::size_t(n)] = 0;
    }
    titles.SstvTitleLines[n].clear();
    return n;
}

void ClearTitleLabels() {
    if (forms::isLoaded<SSTVForm>()) {
        SSTVForm& f = forms::SSTVForm();
        QLabel* first = templateLabel(f);
        while (f.Label1.size() > 1) {
            delete f.Label1.back();
            f.Label1.pop_back();
        }
        first->setAttribute(Qt::WA_TranslucentBackground);
        first->show();
    }
    g.SelectedTitle = 0;
    g.SstvTitleCount = 0;
    titles.SstvTitleLines = QStringList{QString()};
    titles.SstvTitleOutline = std::vector<int>{0};
}

void SstvRefreshTitle(int index) {
    QLabel* label = titleLabel(index);
    if (!label || index >= titles.SstvTitleLines.size() || titles.SstvTitleLines[index].isEmpty()) return;
    label->setText(SstvExpandMacros(titles.SstvTitleLines[index]));
    label->adjustSize();
}

double TitleFontPoints(const QString& text) {
    const double points = FontSizeValue(text);
    return points > 0 ? points : DefaultTitlePoints;
}

void SstvRefreshTitleBar() {
    if (!forms::isLoaded<SSTVForm>() || g.SstvTitleBarOn != QLatin1String("1")) return;
    QLabel* bar = forms::SSTVForm().Label4;
    const QString shown = TitleBarShown(g.SstvTitleBarText);
    if (bar->text() == shown) return;
    bar->setText(shown);
    bar->adjustSize();
}

void SstvRefreshTitles() {
    for (int i = 1; i <= g.SstvTitleCount; ++i)
        SstvRefreshTitle(i);
    SstvRefreshTitleBar();
    if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().Picture8->update();
}

void SaveSstvContestNo() {
    SSTVForm& f = forms::SSTVForm();
    settings::EndContest({f.Text11, f.VScroll4, f.Text5, f.CONON}, QStringLiteral("595"));
    f.ContestStateChanged();
    f.Text1->setFocus();
}

} // namespace sstv
