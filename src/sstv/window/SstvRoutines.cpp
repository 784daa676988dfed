#include "sstv/window/SstvRoutines.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/library/PicLibrary.h"
#include "sstv/workshop/SstvCompose.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QWidget>

#include <cmath>

namespace sstv {
namespace {

constexpr int EngineTextBuffer = 256;
constexpr int RingSize = 320;
constexpr int MaxFskIdLength = 20;
constexpr int MessageMsecs = 3000;

} // namespace

void ShowUnreadablePicture(const QString& path) {
    core::g.StatusMessage = QStringLiteral("画像を読み込めません: ") + LibraryFileName(path);
    core::ShowTimedMessage(core::g.StatusMessage, MessageMsecs);
}

void ShowUnpastablePicture() {
    const QImage picture = QGuiApplication::clipboard()->image();
    core::g.StatusMessage =
        picture.isNull()
            ? QStringLiteral("クリップボードに画像がありません")
            : QStringLiteral(
                  "画像を読み込めません: クリップボードの画像が大きすぎます (%1×%2、一辺%3ピクセルまで)")
                  .arg(picture.width())
                  .arg(picture.height())
                  .arg(sstveng::MaxDibSide);
    core::ShowTimedMessage(core::g.StatusMessage, MessageMsecs);
}

QString ChooseBmpToSave(const QString& title, const QString& suggested, const QString& filter) {
    const QString typed = ui::saveFileName(title, suggested, filter);
    const QString name = WithBmpExtension(typed);
    // The dialog asked about the name as typed; the extension makes it another file.
    if (name != typed && QFileInfo::exists(name) &&
        ui::msgBox(QDir::toNativeSeparators(name) + QStringLiteral(" は既にあります。\r\n上書きしますか？"),
                   ui::YesNo | ui::Question) != ui::Yes)
        return {};
    return name;
}

QString SstvEngineString(std::int32_t address) {
    QByteArray buffer;
    const std::int32_t n = sstveng::lib().mmsStrCopy(&buffer, EngineTextBuffer, address);
    return cp932::decode(buffer.left(std::max(0, n)));
}

void ReleaseBitmap(std::int32_t& handle) {
    if (handle != 0) sstveng::lib().DeleteObject(handle);
    handle = 0;
}

QString IntToBitString(std::int64_t value, int width) {
    const std::uint64_t v = value < 0 ? std::uint64_t(std::uint32_t(value)) : std::uint64_t(value);
    QString digits = QString::number(v, 2);
    if (digits.size() < width) digits.prepend(QString(width - digits.size(), QLatin1Char('0')));
    return digits;
}

std::int64_t BitStringToInt(int width, const QString& bits) {
    std::int64_t value = 0;
    for (int p = 1; p <= width; ++p)
        if (p <= bits.size() && bits.at(p - 1) == QLatin1Char('1')) value += std::int64_t(1) << (width - p);
    return value;
}

QString SetDigits(const QString& bits, int position, const QString& digits) {
    QString out = bits;
    if (out.size() < position - 1 + digits.size())
        out.append(QString(position - 1 + digits.size() - out.size(), QLatin1Char('0')));
    out.replace(position - 1, digits.size(), digits);
    return out;
}

PictureSize SizeFromWord(std::int32_t word) {
    const QString bits = IntToBitString(word, 32);
    return {int(BitStringToInt(16, bits.right(16))), int(BitStringToInt(16, bits.left(16)))};
}

int NextHistoryIndex(int n) {
    return WrapHistoryIndex(n + 1);
}

int WrapHistoryIndex(int value) {
    if (value > RingSize) return 1;
    if (value < 1) return RingSize;
    return value;
}

QString HistoryFileName(int n) {
    return QStringLiteral("Hist_%1.bmp").arg(n, 3, 10, QLatin1Char('0'));
}

QString CallFileText(const QString& call) {
    QString out;
    out.reserve(call.size());
    for (const QChar c : call) {
        const bool keep = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                          (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                          (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
        out += keep ? c : QLatin1Char('-');
    }
    return out;
}

QString ReceivedPictureName(const QString& call, const QDateTime& local) {
    return CallFileText(call) + QLatin1Char('_') + local.toString(QStringLiteral("yyMMdd")) +
           QLatin1Char('_') + local.toString(QStringLiteral("HHmmss"));
}

int NotchHz(int baseHz, int spanHz, double x, double scaleWidth, int button) {
    if (button != 1 || scaleWidth <= 0) return 0;
    return int(std::nearbyint(baseHz + spanHz * x / scaleWidth));
}

QString CleanFskId(const QString& decoded) {
    QString out;
    for (const QChar c : decoded)
        if (!c.isNull() && c.category() != QChar::Other_Control) out += c;
    return out.trimmed().left(MaxFskIdLength);
}

QString GetForegroundTitle() {
    const QWidget* active = QApplication::activeWindow();
    return active ? active->windowTitle() : QString();
}

} // namespace sstv
