// The main window's menu bar and pop-up menus.
#include "terminal/PSK31MAIN.h"

#include <QMenuBar>

namespace {

QAction* item(QMenu* menu, const QString& caption) {
    return menu->addAction(caption);
}

} // namespace

void PSK31MAIN::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル"));
    RDRCVDAT = item(file, QStringLiteral("受信ﾃﾞｰﾀ閲覧"));
    MEMOR = item(file, QStringLiteral("メモ帳"));
    file->addSeparator();
    RecPsk = item(file, QStringLiteral("録音"));
    PlayPsk = item(file, QStringLiteral("再生"));
    RecStop = item(file, QStringLiteral("録音/再生の停止"));
    file->addSeparator();
    ZORVAT_SUSP = item(file, QStringLiteral("ZORVATEK一時停止"));
    OPAPP1_STRT = item(file, QStringLiteral("OTHER"));
    OPAPP2_STRT = item(file, QStringLiteral("OTHER"));
    file->addSeparator();
    pEnd = item(file, QStringLiteral("終了"));

    QMenu* mode = menuBar()->addMenu(QStringLiteral("モード"));
    const char* modes[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)", "RTTY", "CW", "SSTV"};
    for (int i = 0; i < 6; ++i) {
        PSKMODE[i] = item(mode, QString::fromLatin1(modes[i]));
        PSKMODE[i]->setCheckable(true);
    }
    MMVMENU = mode->addMenu(QStringLiteral("MMVARI"));
    const char* sub[] = {"GMSK",      "FSK",       "FSK-W",     "BPSK",     "bpsk(STD)",
                         "rtty(LSB)", "rtty(USB)", "mfsk(LSB)", "mfsk(USB)"};
    for (int i = 10; i <= 18; ++i) {
        mvrMODEsel[i] = item(MMVMENU, QString::fromLatin1(sub[i - 10]));
        mvrMODEsel[i]->setCheckable(true);
    }
    LINE_TRV = mode->addSeparator();
    TRVon = item(mode, QStringLiteral("Transverter ON"));
    TRVon->setCheckable(true);
    SATMOD = item(mode, QStringLiteral("Sateliteモード"));
    SATMOD->setCheckable(true);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集"));
    RXBC = item(edit, QStringLiteral("受信画面ｸﾘﾔ(ALT+R)"));
    TXBC = item(edit, QStringLiteral("送信画面ｸﾘﾔ(ALT+X)"));
    edit->addSeparator();
    MAC_LOAD = item(edit, QStringLiteral("マクロファイルのロード"));
    MACROMOV = item(edit, QStringLiteral("マクロ釦の移動"));
    MACROMOV->setCheckable(true);
    CWIDSET = item(edit, QStringLiteral("ＣＷＩＤ参照・設定"));
    edit->addSeparator();
    CONON = item(edit, QStringLiteral("コンテスト"));
    Roundqso = item(edit, QStringLiteral("Round QSO 参加局"));

    PSKCFG = menuBar()->addAction(QStringLiteral("環境設定"));
    MLTRCV = menuBar()->addAction(QStringLiteral("多重受信モード(CTRL+M)"));
    dxinfo = menuBar()->addAction(QStringLiteral("DX情報"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    HLP = item(help, QStringLiteral("Help"));
    GOZOR = item(help, QStringLiteral("ZORのﾎｰﾑﾍﾟｰｼﾞへ"));
    VERSHOW = item(help, QStringLiteral("Version"));
}

void PSK31MAIN::buildPopupMenus() {
    PMS = menuBar()->addMenu(QStringLiteral("モード選択"));
    for (int i = 0; i < 6; ++i)
        PMS->addAction(PSKMODE[i]);
    MLTSET = menuBar()->addMenu(QStringLiteral("多重受信"));
    SET2CH = item(MLTSET, QStringLiteral("ch2へSET"));
    SET3CH = item(MLTSET, QStringLiteral("ch3へSET"));
    SETCAN = item(MLTSET, QStringLiteral("設定中止"));

    AFCSHIFT = new QMenu(this);
    ShiftFree = item(AFCSHIFT, QStringLiteral("Free"));
    ShiftFix = item(AFCSHIFT, QStringLiteral("Fix"));
    ShiftHAM = item(AFCSHIFT, QStringLiteral("HAM"));
    ShiftFSK = item(AFCSHIFT, QStringLiteral("FSK"));
    for (QAction* a : {ShiftFree, ShiftFix, ShiftHAM, ShiftFSK})
        a->setCheckable(true);

    RXPOPUP = new QMenu(this);
    PSTCALL = item(RXPOPUP, QStringLiteral("Call Sign欄へ張り付け"));
    PSTNAME = item(RXPOPUP, QStringLiteral("His Name欄へ張り付け"));
    PSTQTH = item(RXPOPUP, QStringLiteral("QTH欄へ貼り付け"));
    PSTTOREM1 = item(RXPOPUP, QStringLiteral("Rem1へ張り付け"));
    PSTTOREM2 = item(RXPOPUP, QStringLiteral("Rem2へ張り付け"));
    PSTCON_NO = item(RXPOPUP, QStringLiteral("これはContestナンバー"));
    GetContestNo = item(RXPOPUP, QStringLiteral("これはContestナンバー"));
    CALLSR = item(RXPOPUP, QStringLiteral("Call Sign 検索"));
    PSTMEMO = item(RXPOPUP, QStringLiteral("メモ帳へメモ書き"));
    DATCLR = item(RXPOPUP, QStringLiteral("クリヤー"));

    QTHPST = new QMenu(this);
    PSTREM1 = item(QTHPST, QStringLiteral("Rem1へ張り付け"));
    PSTREM2 = item(QTHPST, QStringLiteral("Rem2へ張り付け"));

    MACCOM = new QMenu(QStringLiteral("ﾏｸﾛｺﾏﾝﾄﾞ挿入"), this);
    PSTCLIP = item(MACCOM, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから張付"));
    INSAISATU = item(MACCOM, QStringLiteral("挨拶を挿入"));
    INSHisCall = item(MACCOM, QStringLiteral("HisCallを挿入"));
    INSHisName = item(MACCOM, QStringLiteral("His Nameを挿入"));
    INSHisQTH = item(MACCOM, QStringLiteral("His QTHを挿入"));
    INSHISRST = item(MACCOM, QStringLiteral("His RSTを挿入"));
    INSMyCall = item(MACCOM, QStringLiteral("MyCallを挿入"));
    INSTimeStamp = item(MACCOM, QStringLiteral("TimeStampを挿入"));
}
