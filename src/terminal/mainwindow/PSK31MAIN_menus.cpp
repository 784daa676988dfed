// The main window's menu bar and pop-up menus.
#include "terminal/mainwindow/PSK31MAIN.h"

#include "platform/forms/windows/NotBuilt.h"
#include "startup/AboutZORVATEK.h"

#include <QMenuBar>

namespace {

QAction* item(QMenu* menu, const QString& caption) {
    return menu->addAction(caption);
}

} // namespace

void PSK31MAIN::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル"));
    RSAVE = item(file, QStringLiteral("受信ﾃﾞｰﾀ保存"));
    RDRCVDAT = item(file, QStringLiteral("受信ﾃﾞｰﾀ閲覧"));
    MEMOR = item(file, QStringLiteral("メモ帳"));
    HLDAT_VIEW = item(file, QStringLiteral("Hamlog Data表示"));
    file->addSeparator();
    RecPsk = item(file, QStringLiteral("録音"));
    PlayPsk = item(file, QStringLiteral("再生"));
    RecStop = item(file, QStringLiteral("録音/再生の停止"));
    file->addSeparator();
    ZORVAT_SUSP = item(file, QStringLiteral("ZORVATｻｽﾍﾟﾝﾄﾞ"));
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
    WFCOLOR = item(mode, QStringLiteral("WaterFall/Color balance"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集"));
    RXBC = item(edit, QStringLiteral("受信画面ｸﾘﾔ(ALT+R)"));
    TXBC = item(edit, QStringLiteral("送信画面ｸﾘﾔ(ALT+X)"));
    edit->addSeparator();
    MAC_LOAD = item(edit, QStringLiteral("マクロファイルのロード"));
    MACROMOV = item(edit, QStringLiteral("マクロ釦の移動"));
    MACROMOV->setCheckable(true);
    CWIDSET = item(edit, QStringLiteral("ＣＷＩＤ参照・設定"));
    edit->addSeparator();
    CONON = item(edit, QStringLiteral("Contestモード"));
    Roundqso = item(edit, QStringLiteral("ラウンドQSO"));

    PSKCFG = menuBar()->addAction(QStringLiteral("環境設定"));
    MLTRCV = menuBar()->addAction(QStringLiteral("多重受信モード(CTRL+M)"));
    dxinfo = menuBar()->addAction(QStringLiteral("DX情報"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    HLP = item(help, QStringLiteral("Help"));
    GOZOR = item(help, QStringLiteral("ZORのﾎｰﾑﾍﾟｰｼﾞへ"));
    VERSHOW = item(help, QStringLiteral("バージョン"));
    connect(VERSHOW, &QAction::triggered, this, [] { forms::AboutZORVATEK().show(); });

    connect(PSKCFG, &QAction::triggered, this, &PSK31MAIN::PSKCFG_Click);
    notbuilt::hold(this, {CWIDSET});
}

void PSK31MAIN::buildPopupMenus() {
    PMS = menuBar()->addMenu(QStringLiteral("モード選択"));
    for (int i = 0; i < 6; ++i)
        PMS->addAction(PSKMODE[i]);
    MLTSET = menuBar()->addMenu(QStringLiteral("多重受信"));
    SET2CH = item(MLTSET, QStringLiteral("ch2へSET"));
    SET3CH = item(MLTSET, QStringLiteral("ch3へSET"));
    SETCAN = item(MLTSET, QStringLiteral("設定中止"));
    SETnotch0 = item(MLTSET, QStringLiteral("Notch Freq Set"));
    SETnotch1 = item(MLTSET, QStringLiteral("Notch Freq#2 Set"));
    SETnotch2 = item(MLTSET, QStringLiteral("Notch Freq#3 Set"));
    for (QAction* a : {SETnotch0, SETnotch1, SETnotch2})
        a->setVisible(false);

    AFCSHIFT = new QMenu(this);
    ShiftFree = item(AFCSHIFT, QStringLiteral("Free"));
    ShiftFix = item(AFCSHIFT, QStringLiteral("Fix"));
    ShiftHAM = item(AFCSHIFT, QStringLiteral("HAM"));
    ShiftFSK = item(AFCSHIFT, QStringLiteral("FSK"));
    for (QAction* a : {ShiftFree, ShiftFix, ShiftHAM, ShiftFSK})
        a->setCheckable(true);

    PUPMNU = new QMenu(this);
    GETNAIYOUMAIN = item(PUPMNU, QStringLiteral("Get->"));
    PUPMNU->addSeparator();
    CALLSR = item(PUPMNU, QStringLiteral("Call Sign 検索"));
    TOCALL = item(PUPMNU, QStringLiteral("Call Sign欄へ張り付け"));
    TONAME = item(PUPMNU, QStringLiteral("His Name欄へ張り付け"));
    TOQTHREM1 = item(PUPMNU, QStringLiteral("QTH欄へ貼り付け"));
    MEMOW = item(PUPMNU, QStringLiteral("メモ帳へメモ書き"));
    TOCLPB = item(PUPMNU, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ一時保存"));
    PSTREM1 = item(PUPMNU, QStringLiteral("Rem1へ張り付け"));
    PSTREM2 = item(PUPMNU, QStringLiteral("Rem2へ張り付け"));
    GetContestNo = item(PUPMNU, QStringLiteral("これはContestナンバー"));
    CLIPCLR = item(PUPMNU, QStringLiteral("クリヤー"));

    GETDATOTHER = new QMenu(this);
    GETNAIYOU = item(GETDATOTHER, QStringLiteral("Get->"));
    GETDATOTHER->addSeparator();
    PSTCALL = item(GETDATOTHER, QStringLiteral("Call Sign欄へ張り付け"));
    PSTNAME = item(GETDATOTHER, QStringLiteral("His Name欄へ張り付け"));
    PSTQTH = item(GETDATOTHER, QStringLiteral("QTH欄へ貼り付け"));
    PSTMEMO = item(GETDATOTHER, QStringLiteral("メモ帳へメモ書き"));
    TOCLIP2 = item(GETDATOTHER, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ一時保存"));
    PSTTOREM1 = item(GETDATOTHER, QStringLiteral("Rem1へ張り付け"));
    PSTTOREM2 = item(GETDATOTHER, QStringLiteral("Rem2へ張り付け"));
    PSTCON_NO = item(GETDATOTHER, QStringLiteral("これはContestナンバー"));
    DATCLR = item(GETDATOTHER, QStringLiteral("クリヤー"));

    QTHPST = new QMenu(QStringLiteral("QTHデータの取り扱い方"), this);
    ADDQTHUPD = item(QTHPST, QStringLiteral("LOG帳のQTH欄を書き換え"));
    ADDREM1 = item(QTHPST, QStringLiteral("LOG帳のRem1 欄へ追記"));
    ADDREM2 = item(QTHPST, QStringLiteral("LOG帳のRem2 欄へ追記"));

    MACCOM = new QMenu(QStringLiteral("ﾏｸﾛｺﾏﾝﾄﾞ挿入"), this);
    PSTCLIP = item(MACCOM, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから張付"));
    INSAISATU = item(MACCOM, QStringLiteral("挨拶を挿入"));
    INSHisCall = item(MACCOM, QStringLiteral("HisCallを挿入"));
    INSHisName = item(MACCOM, QStringLiteral("His Nameを挿入"));
    INSHisQTH = item(MACCOM, QStringLiteral("His QTHを挿入"));
    INSHISRST = item(MACCOM, QStringLiteral("His RSTを挿入"));
    INSTimeStamp = item(MACCOM, QStringLiteral("TimeStampを挿入"));
    INSMyCall = item(MACCOM, QStringLiteral("MyCallを挿入"));

    // The headers show what was picked; choosing them does nothing.
    GETNAIYOUMAIN->setEnabled(false);
    GETNAIYOU->setEnabled(false);
}
