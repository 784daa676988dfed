#pragma once
// The MMVARI settings dialog: filter and decoder switches for MFSK and RTTY,
// the AFC width, the CW ID speed, the transmit and receive clock offsets and
// external loopback, each applied at once to the main window's multi-mode
// control and kept in [MMVCFG]; the transmit-offset measurement; the way to
// the sound-card clock calibration. The main window's multi-mode "CFG" button
// opens it.
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>
#include <array>

class CFG_MMVARI : public QWidget {
    Q_OBJECT
  public:
    CFG_MMVARI();
    void Form_Load();
    void Form_Unload();

    QGroupBox* Frame1; // "サウンド関係"
    QGroupBox* Frame2; // "MFSK固有の設定"
    QGroupBox* Frame3; // "RTTY固有の設定"
    QCheckBox* Check1; // "HighPassFilter"
    QCheckBox* Check2; // "MetricSqMFSK"
    QCheckBox* Check3; // "TreatCenterMFSK"
    QCheckBox* Check4; // "RTTY-UOS"
    QCheckBox* Check5; // RTTY diddle
    QCheckBox* Check6; // "外部ループバック"
    QScrollBar* VScroll1;
    QLabel* Label1; // AFC width
    QScrollBar* VScroll2;
    QLabel* Label2; // CW ID speed
    QLabel* Label6; // "TXoffset(Hz)"
    QScrollBar* VScroll3;
    QLabel* Label7; // the transmit offset
    QLabel* Label3; // its ppm
    QLabel* Label4; // "受信ｻﾝﾌﾟﾘﾝｸﾞ周波数 "
    QScrollBar* VScroll4;
    QLabel* Label5;                       // the receive sample frequency
    std::array<QRadioButton*, 3> Option1; // scroll step
    QPushButton* Command2;                // transmit-offset measurement
    QLabel* Label8;                       // the measurement's reading
    QLabel* Label9;                       // the measurement seems settled
    QPushButton* Command1;                // the clock calibration
    QMenuBar* menus;
    QAction* CLOSE_CFG; // "閉じる"
    // The offset scroll bars' step, hundredths of a hertz.
    int MmvariScrollStep = 1;

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    void VScroll4_Change();
    void Option1_Click(int Index);
    void Command1_Click();
    void Command2_Click();
    // Unloads the dialog and puts the focus in the main window's transmit box.
    void CloseMmvariDialog();
    // The main window's periodic update while a measurement runs: the
    // control's reading; a reading that stays says the end may be near.
    void showMeasurement(int reading);

  protected:
    void closeEvent(class QCloseEvent* e) override;

  private:
    void setSteps();
    void startMeasurement();
    void finishMeasurement();
    bool closing_ = false;
    int lastReading_ = 0;
    int sameReadings_ = 0;
};

namespace forms {
inline ::CFG_MMVARI& CFG_MMVARI() {
    return get<::CFG_MMVARI>();
}
} // namespace forms
