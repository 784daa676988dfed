#include "terminal/mainwindow/HelpPage.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

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

} // namespace

bool OpenHelpAt(const QString& section) {
    const QString path = pagePath();
    if (!QFileInfo(path).isFile() && !files::replaceWhole(path, QByteArray(kPage)))
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
