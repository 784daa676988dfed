#pragma once
// The title lines laid over the transmit picture and the title bar's text:
// the expansion of their %-variables, the store of the lines' raw texts and
// outline choices, the title font, and the end of contest mode on the SSTV
// window (which resets the boxes the variables read).
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;

namespace sstv {

// Everything the %-variables stand for, taken at one moment.
struct TitleInputs {
    QString ownCall;
    QString call;
    QString rst;
    QString name;
    QString qth;
    QString contestNo;
    // The greeting of the run so far; empty until one has been worked out.
    QString greeting;
    QString rigFreq;
    int versionMajor = 0;
    int versionMinor = 0;
    int versionRevision = 0;
    bool logTimeUtc = false;
    // The PC clock, which runs on Japanese time.
    QDateTime local;
};

struct TitleExpansion {
    QString text;
    // The greeting after the expansion: worked out from the hour when it was empty.
    QString greeting;
};

// Replaces every %-variable, in a fixed order, in the running result; a
// percent sign before any other letter stays.
TitleExpansion SstvExpandMacros(const QString& text, const TitleInputs& in);
// The same over the SSTV window's boxes, the shared values and the clock; a
// greeting worked out here is kept in GreetingText for the rest of the run.
QString SstvExpandMacros(const QString& text);
// The title bar's shown text: expanded when it holds "%".
QString TitleBarShown(const QString& raw);
// The title bar's stored text (SSTV_Gen TitleStr), the own call when missing.
QString TitleStr();

// The one reading of a stored size (FntSIZE): its leading number, 12 when it
// has none or it is not above 0.
double TitleFontPoints(const QString& text);

// The title font as stored in FontCFG, as text.
struct TitleFont {
    QString color = QStringLiteral("16777215");
    QString size = QStringLiteral("12");
    QString name = QStringLiteral("ＭＳ Ｐゴシック");
    QString bold = QStringLiteral("False");
    QString italic = QStringLiteral("False");
};

struct TitleStore {
    // Entry n: the raw text of title label n, %-variables unexpanded.
    QStringList SstvTitleLines{QString()};
    // Entry n: the outline choice of title label n (0 none).
    std::vector<int> SstvTitleOutline{0};
    TitleFont font;
    // 1 while the title lines follow every change of the QSO boxes (the
    // title editor's text box holds text).
    int SstvTitleRefreshOn = 0;
};

extern TitleStore titles;

// Reads the title font; a missing key takes its default, which the current
// title label takes at once.
void LoadTitleFont();
// Gives a title label the font's name, size, colour, bold and italic.
void ApplyTitleFont(QLabel* label, const TitleFont& font);
// Loads a title label at the first free index with the title font and makes
// it current; its index.
int AddTitleLabel();
// Removes every run-time title label and empties the store.
void ClearTitleLabels();
// Shows the expanded text of one title line, or of every line.
void SstvRefreshTitle(int index);
void SstvRefreshTitles();
// The title bar's text expanded afresh from the boxes and the clock, while the bar is on.
void SstvRefreshTitleBar();
// Ends contest mode on the SSTV window: the number is stored, the boxes and
// the log entry go back to their presets.
void SaveSstvContestNo();

} // namespace sstv
