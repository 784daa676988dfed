#pragma once
// The sound-card clock calibration window. It listens through a multi-mode
// control of its own (MMVARI2) to a steady 1000 Hz carrier, draws one spectrum
// line of 800 points a row from the top, and lets the operator lay a measuring
// line along the carrier's trace: the line's slope is the clock error, which
// "補正" applies as the PSK library's receive correction (PSK modes) or as
// MMVARI's receive sample-frequency offset. Opened from the settings sheet's
// "RX ｸﾛｯｸ補正" (which stops the PSK library's sound card first) and from the
// MMVARI dialog, through OpenClockAdjust.
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/windows/Forms.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariViews.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

class CLKadj : public QWidget {
    Q_OBJECT
  public:
    CLKadj();
    void Form_Load();
    void Form_Unload();

    mmvari::MmvariControl* MMVARI2;
    mmvari::XMMVView* XMMVView3;
    PictureBox* Picture1;
    LineShape* Line1;
    QLabel* Label1; // sample frequency
    QLabel* Label2; // offset
    QLabel* Label3; // "AGC 中"
    QLabel* Label4; // ppm
    QLabel* Label5; // "Sens x" and the sensitivity
    QLabel* Label6; // the instructions
    QScrollBar* VScroll1;
    QPushButton* Command1; // "補正"
    QPushButton* Command2; // "クリヤ"
    QMenuBar* menus;
    QAction* pEnd; // "終了"
    QMenu* SETing; // "設定"
    QAction* stopSound1;

    int ClkPskMode = 0;
    double ClkSampleFreq = 0.0;
    double ClkOffsetHz = 0.0;
    int ClkMeasureStartX = 400;
    int ClkMeasureEndX = 400;
    int ClkMainSoundStopped = 0;

    // The picture in pixels; its height sets the measuring line's length.
    static constexpr int PictureWidth = 800;
    static constexpr int PictureHeight = 401;

    void MMVARI2_SpectrumLine(int line);
    void VScroll1_Change();
    void Command1_Click();
    void Command2_Click();
    void stopSound1_Click();
    // The close item and the close box: the sound card back to the engine in use.
    void pEnd_Click();

  protected:
    void closeEvent(class QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void setUpControl();
    void restartLines();
    void showLine();
    void showOffset();
    void plotLine(const QList<int>& levels);
    void Picture1_KeyDown(int key, Qt::KeyboardModifiers shift);
    void Picture1_MouseMove(int button, double x, double y);
    void Picture1_MouseUp(int button, double x, double y);

    int plotRow_ = 0;
    int rowCount_ = PictureHeight + 1;
    int lineHeight_ = PictureHeight - 1;
    int levelMax_ = 101;
    int levelMin_ = 100;
    double factor_ = 0.5;
    int linesDrawn_ = 0;
    int linePlaced_ = 0;
    int pskPpm_ = 0;
    int viewHandle_ = 0;
    bool closing_ = false;
};

namespace forms {
inline ::CLKadj& CLKadj() {
    return get<::CLKadj>();
}
} // namespace forms

namespace settings {
// Opens the calibration in the PSK modes and in MMVARI; in any other mode
// the operator is told so and nothing opens.
void OpenClockAdjust();
} // namespace settings
