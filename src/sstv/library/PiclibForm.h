#pragma once
// The picture library: the pictures of the transmit, received and history
// folders as thumbnails, eight to a page, one tab each. A thumbnail's menu sends
// its picture to the SSTV window's workshop (as the base picture or the inset),
// hands it to the QSL printing program, saves a history picture under another
// name or deletes the file; a double click shows it enlarged.
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/windows/Forms.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>

#include <array>
#include <cstdint>

class QAction;
class QMenu;
class QMenuBar;

class PiclibForm : public QWidget {
    Q_OBJECT
  public:
    PiclibForm();
    void Form_Load();
    void Form_Unload();

    QTabWidget* SSTab1; // "送信画", "受信画", "履歴画"
    // The thumbnail boxes of each tab: 0..3 the left column, 4..7 the right.
    std::array<PictureBox*, 8> Picture1{};
    std::array<PictureBox*, 8> Picture2{};
    std::array<PictureBox*, 8> Picture3{};
    QLabel* Label1; // the page of each tab, "1/20 - 8/20"
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command3; // "<"
    QPushButton* Command4; // ">"
    QMenuBar* menuBar;
    QAction* PCLS;   // "閉じる"
    QAction* GetFol; // "フォルダ指定"
    QMenu* PopUpLib;
    QAction* fnDisp;
    QAction* setB4pic;
    QAction* setB4picSm;
    QAction* QSLset;
    QAction* LibSave;
    QAction* LibDelete;
    QAction* LibDeleteNoKakunin;

    // The file names of the tab listed last, sorted without regard to case.
    QStringList List1;
    int FileCount = 0;
    // The file drawn in each box of the page drawn last; empty for a blank box.
    std::array<QString, 8> BoxPath;
    int SelectedBox = 0;
    // The file the pop-up menu named when it opened; empty for a box without one.
    QString MenuPath;
    int FolderError = 0;

    void SSTab1_Click();
    void ListPictureFiles(const QString& Folder);
    void DrawTxPage(int& Start);
    void DrawRxPage(int& Start);
    void DrawHistoryPage(int& Start);
    void Command3_Click();
    void Command4_Click();
    void GetFol_Click();

    void Picture_MouseUp(int Index, int Button);
    void Picture_DblClick(int Index);
    void setB4pic_Click();
    void setB4picSm_Click();
    void QSLset_Click();
    void LibSave_Click();
    void LibDelete_Click();
    void LibDeleteNoKakunin_Click();

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QWidget* buildTab(std::array<PictureBox*, 8>& boxes, QLabel* label);
    void buildMenus();
    void placeWindow();
    std::array<PictureBox*, 8>& boxesOf(int tab);
    QLabel* labelOf(int tab);
    QString folderOf(int tab) const;
    // Lists the tab's folder; false (the error cleared) when it cannot be read.
    bool listTab(int tab);
    void drawPage(int tab, int& Start);
    void showTabPage(int tab);
    void forgetBoxes();
    void turnPage(bool forward);
    void deleteSelected(bool ask);
    // The picture of the file loaded, or 0 with the failure shown (nothing for
    // an empty path); the caller releases it.
    std::int32_t loadPicture(const QString& path);

    // Counts the drawings begun: a drawing overtaken by a newer one while it
    // let events run stops there.
    int drawings_ = 0;
    bool unloaded_ = false;
};

namespace forms {
inline ::PiclibForm& PiclibForm() {
    return get<::PiclibForm>();
}
} // namespace forms
