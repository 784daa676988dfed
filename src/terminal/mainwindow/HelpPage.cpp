#include "terminal/mainwindow/HelpPage.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Paths.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <utility>

namespace terminal::mainwindow {

namespace {

const char kPage[] = R"(<!DOCTYPE html>
<html lang="ja"><head><meta charset="utf-8"><title>ZORVATEK ヘルプ</title></head>
<body>
<h1>ZORVATEK ヘルプ</h1>
<h2>QSO の流れ</h2>
<ol>
<li>受信画面で相手局のコールサインをクリックすると Call Sign 欄に入ります（ﾃﾞｰﾀ取込 ON）。</li>
<li>数字を含まない語をクリックすると、名前・QTH などへ張り付けるメニューが出ます。</li>
<li>ﾃﾞｰﾀ取込 OFF のときは、受信画面で文字をドラッグして選ぶとメニューが出ます。</li>
<li>GET ボタンは受信画面の末尾から " DE " の後のコールサインを探します。</li>
<li>「消去 →」または CTRL+C で QSO 欄を消去し、次の QSO に移ります。</li>
</ol>
<h2>QSO 欄</h2>
<ul>
<li>Call Sign 欄は大文字で上書き入力です。↓ またはダブルクリックで LOG を検索します。</li>
<li>RST 欄は数字だけを 1 桁ずつ上書きします。Enter で Name → RST → Call Sign と移ります。</li>
<li>「RST」ラベルのクリックで RST の一覧が出ます。</li>
</ul>
<h2>キー</h2>
<ul>
<li>F12: 送信開始　ESC: 中断　ALT+X: 送信画面クリヤ　ALT+R: 受信画面クリヤ</li>
<li>CTRL+L: LOG 作成　CTRL+M: 多重受信　CTRL+P: BPSK/QPSK 切換　CTRL+W: WF/SP 切換</li>
</ul>
<h2 id="logentry">LOG 入力画面</h2>
<ul>
<li>F1 または「LOG保存(F1)」で保存します。Esc で閉じます。</li>
<li>Name(F8) などの見出しをクリックすると、運用画面の欄の内容が入ります。</li>
<li>「<<」「<」「>」「>>」で保存済みの LOG を見て、直して保存し直せます。</li>
</ul>
<h2 id="sstv">SSTV 画面</h2>
<ul>
<li>Call Sign 欄は大文字で入力します。↓ またはダブルクリック、「Call Sign」のクリックで LOG を検索します。</li>
<li>「HisRSV」のクリックで RSV の一覧が出ます。「RSVmenu set」で一覧を編集し、「RST set完了」で保存します。</li>
<li>「LOG作成」で LOG 入力画面を開きます（Hamlog ウィンドウ連携では 1 回目で送り、2 回目で保存）。</li>
<li>「消去」で QSO 欄を消去し、次の QSO に移ります。</li>
<li>タイトル文字の %c %m %r %n %q などは、QSO 欄や時刻に置き換えて送信画に入ります。</li>
</ul>
<h2 id="macros">マクロ文の作成</h2>
<ul>
<li>タブ 1～36 がマクロボタン 1～36 です。上の欄がボタン名、下の欄が送る文です。</li>
<li>'MYCALL' 'HISCALL' 'HISNAME' などのマクロ変数は、送るときに自局コールや QSO 欄の内容に置き換わります。</li>
<li>「設定完了」で保存して閉じます。「設定中止」は変更を捨てて閉じます。</li>
<li>「ＣＷＩＤ参照・設定」で CW ID の一覧（5 件まで）を編集します。「新規マクロ作成」は全部を空にします。</li>
<li>ショートカットキーの登録中は ALT+A～Z を押して、そのマクロのキーを決めます。</li>
</ul>
<h2 id="qsolist">過去の交信リスト</h2>
<ul>
<li>Call Sign 欄に入れたコールの過去の QSO を、LOG に記録した順（先に記録したものが上）に一覧にします。/P などを付けた同じコールの QSO はその後に続きます。</li>
<li>一覧は最後の行を上端にして開き、最後の行の名前・コード・QTH・GL が LOG 入力画面に入ります。</li>
<li>行をクリックすると、その QSO の名前・コード・QTH などが運用画面と LOG 入力画面に入ります。ダブルクリックまたは「閉じる」で閉じます。</li>
<li>「電子QSLモードへ」で電子 QSL に送る QSO を選び、「電子QSL送信」でファイルに書きます。</li>
</ul>
<h2 id="logviewer">Hamlog Data 表示</h2>
<ul>
<li>LOG の QSO を 100 件ずつのページにして、最新のページから表示します。「<<」「>>」で 100 件ずつ前後へ、「JUMP」で番号を入れてその QSO へ移ります。</li>
<li>表示だけの画面です。行をクリックしても、どこにも写しません。</li>
<li>「電子QSLモードへ」で電子 QSL に送る QSO の行を選び、「電子QSL送信」でファイルに書きます。「ADIF化」は表示中のページを ADIF ファイルに書きます。</li>
</ul>
<h2 id="settings-display">環境設定：画面要素の設定</h2>
<ul>
<li>受信画面・送信画面・PlayBack 画面の色と文字種、送信済み文字の色、多重受信画面の文字種と並べ方を決めます。</li>
<li>全角英数の半角変換、張付け時の引用符、送受切替時のタイムスタンプもここで決めます。</li>
<li>変更はすぐに画面に反映されます。SSTV モードではこのページは使えません。</li>
</ul>
<h2 id="settings-sound">環境設定：サウンド要素の設定</h2>
<ul>
<li>サウンドカード、音声の中心周波数、AFC の範囲、スケルチ、FFT の表示、受信の探索範囲を決めます。</li>
<li>「RX ｸﾛｯｸ補正」でサウンドカードのクロックを測って補正します。PTT ポートもここで選びます。</li>
<li>Satelite モードのときは AFC の範囲は 3000 Hz に固定され、スライダーは使えません。</li>
</ul>
<h2 id="settings-log">環境設定：ＬＯＧ 関係の設定</h2>
<ul>
<li>「Hamlog を 並行起動」で LOG の使い方を選びます。「しない」はライブラリ連携（データベース *.HDB を指定）、「する」はウィンドウ連携（HAMLOGW.EXE を指定）、「ＬＯＧ機能は使用しない」は LOG を使いません。</li>
<li>「HamLog の場所」でデータベースまたはプログラムの場所を指定します。LOG を使わないときは押せません。</li>
<li>LOG に書くモード名、QSL 区分、QSL 印刷ソフト、電子 QSL、他のアプリケーションのボタンも決めます。</li>
</ul>
<h2 id="settings-rig">環境設定：リグ制御関係の設定</h2>
<ul>
<li>リグの機種、COM ポート（またはデバイス）、通信速度、ストップビット、コマンドの間隔 (ms) を決めます。</li>
<li>「VFO Check」で周波数の読み方を選びます。ポーリングの間隔は 600～5000 ms です。</li>
<li>「ｲﾝﾀｰﾈｯﾄ常時接続環境にある」で DX 情報のメニューが使えるようになります。トランスバーターの IF 周波数 (MHz) もここです。</li>
<li>「設定完了」または閉じるボタンで、設定を保存してリグのポートを開き直します。</li>
</ul>
<h2 id="spots">DX 情報</h2>
<ul>
<li>WW・JA・US・ALL で見るページを選びます。1 分ごとに読み直し、新しいスポットがあると「新着情報がありました。」と出ます。</li>
<li>Time の欄のクリックで UTC と JST を切り替えます。スポットのダブルクリックで、そのモードと周波数にリグと運用画面を合わせます。</li>
<li>「Send information」で自分のスポットを送る欄が出ます。Esc で閉じます。</li>
<li>サーバーが 20 秒以内に応答しないときは臨時のサーバーに切り替えます。ページを選び直すと元に戻ります。</li>
</ul>
</body></html>
)";

} // namespace

QString pagePath() {
    return paths::join(paths::programFolder(), QStringLiteral("ZORVATEK.html"));
}

namespace {

bool say(const QString& text) {
    core::g.StatusMessage = text;
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    return false;
}

// A page from an earlier version may lack the section asked for: it is written anew.
bool pageHas(const QString& path, const QString& section) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return section.isEmpty() || file.readAll().contains("id=\"" + section.toUtf8() + '"');
}

} // namespace

QString SectionOfContext(int context) {
    static const std::pair<int, const char*> kSections[] = {
        {2, "settings-display"}, {3, "macros"},         {5, kLogEntrySection},
        {6, "qsolist"},          {150, "logviewer"},    {157, "spots"},
        {161, "settings-sound"}, {162, "settings-log"}, {163, "settings-rig"}};
    for (const auto& [number, section] : kSections)
        if (number == context) return QString::fromLatin1(section);
    return {};
}

bool OpenHelpContext(int context) {
    return OpenHelpAt(SectionOfContext(context));
}

bool OpenHelpAt(const QString& section) {
    const QString path = pagePath();
    if (!pageHas(path, section) && !files::replaceWhole(path, QByteArray(kPage)))
        return say(QStringLiteral("ヘルプファイルがありません。"));
    QUrl page = QUrl::fromLocalFile(path);
    if (!section.isEmpty()) page.setFragment(section);
    if (!QDesktopServices::openUrl(page))
        return say(QStringLiteral("ヘルプを表示するブラウザがありません。"));
    return true;
}

bool HLP_Click() {
    return OpenHelpAt({});
}

} // namespace terminal::mainwindow
