#pragma once
// The recording dialog: the wave file, the length in minutes, append or
// overwrite and whether the transmitted signal is recorded too; it starts a
// timed recording by restarting the PSK library's sound card in recording mode.
// The main window's record item presets it (terminal/recording) before showing it.
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

class CFG_RecPlay : public QWidget {
    Q_OBJECT
  public:
    CFG_RecPlay();
    void Form_Load();
    void Form_Unload();

    QPushButton* Command28;               // "録音ﾌｧｲﾙ名指定"
    QLineEdit* Text13;                    // the chosen file
    QLabel* Label45;                      // "録音時間(分)"
    QLineEdit* Text9;                     // length in minutes
    QCheckBox* Check6;                    // "WavFile追加上書き"
    QLabel* Label46;                      // "送信信号の録音を    ->"
    std::array<QRadioButton*, 2> Option1; // "しない", "する"
    QPushButton* Command27;               // "設定値保存"
    QPushButton* Command29;               // "録音開始"
    QMenuBar* menus;
    QAction* CLOSE_CFG; // "閉じる"

    // Text13 shows the file in black, or the missing name in red.
    void showFileName(const QString& path);

    void Text9_Change();
    void Check6_Click();
    void Option1_Click(int Index);
    void Command27_Click();
    void Command28_Click();
    void Command29_Click();
    // The dialog's close: the record and play items back, the state idle.
    void CloseRecPlayDialog();

  protected:
    void closeEvent(class QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    bool closing_ = false;
};

namespace forms {
inline ::CFG_RecPlay& CFG_RecPlay() {
    return get<::CFG_RecPlay>();
}
} // namespace forms
