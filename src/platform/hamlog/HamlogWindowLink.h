#pragma once
// The link with the logging program's running window. In place of window
// messages the program listens on a local socket named for the program folder;
// the system finds it there, hands it copy-data items one at a time and waits
// until each is handled, and takes the copy data the program sends back to the
// system's window while it handles a request.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace hamlog::window {

// Item and request codes of the logging program's window. The low 16 bits of an
// item's code are the logging library's number of the same field.
enum Code : quint32 {
    HamlogItemCall = 0x30000,
    HamlogItemRemarks = 13,
    HamlogItemFreq = 6,
    HamlogItemMode = 7,
    HamlogItemField4 = 0x30004,
    HamlogItemName = 0x3000B,
    HamlogItemQth = 0x3000C,
    HamlogCmdClear = 0x10,
    HamlogCmdSave = 0x80012,
    HamlogReqName = 111,
    HamlogReqQth = 112,
    HamlogReqRecNo = 116,
};

inline constexpr int kItemTextChars = 256;

struct CopyData {
    quint32 dwData = 0;
    quint32 cbData = 0;
    std::optional<QByteArray> lpData; // none = a null pointer
};

// The text of an item: left-aligned in 256 characters padded with blanks (cut
// at 256), in Shift-JIS, ending with a zero byte.
QByteArray itemText(const QString& text);
// cbData of an item: the trimmed text's characters for call sign, frequency,
// mode and RST; twice that for remarks, name and QTH; 0 for clear, save and
// the requests.
quint32 itemLength(quint32 code, const QString& text);
// The whole message for a code: clear and save carry 256 blanks, the requests
// no text at all.
CopyData item(quint32 code, const QString& text = {});

// The socket name of the logging program's window for this program folder.
QString serverName();

// Above 0 when the logging program's window is there (it is then connected).
qintptr findWindow();
// Hands the message to the window and returns once the program has handled it;
// copy data sent back to the system's window meanwhile goes to ourWindow (and
// is dropped when ourWindow is empty). False when the window could not be
// reached or did not answer within 5 seconds.
bool sendCopyData(qintptr window, const CopyData& data,
                  const std::function<void(const CopyData&)>& ourWindow = {});
// Why the last message failed: the window could not be reached (the program
// has gone), or it was reached and did not handle the message within the wait
// (the program is stopped or hung).
enum class Failure { None, Unreachable, NoAnswer };
Failure lastFailure();
// The same, for the window's answer to the message (0 for an item that has
// none); nothing when the window could not be reached or did not answer.
std::optional<quint32> sendCopyDataForResult(qintptr window, const CopyData& data);
// The call the program's entry holds as last given to it on this connection
// (by a call item, whoever sent it); empty once the entry is stored or
// cleared, after a call item the program may not have taken, and while no
// program is connected: a program started anew holds no call of ours.
QString heldCall();
// Asks the program to activate its window whose title begins with `title`
// and, with pressDown, to press the Down key there; returns once that is
// done. False when it has no such window or could not be reached.
bool activateTitled(qintptr window, const QString& title, bool pressDown);
// Asks the program to bring its window `handle` to the front; false when it
// has no such window or could not be reached.
bool bringToFront(qintptr window, quint32 handle);
// Asks the window to close; true when the request was delivered.
bool postClose(qintptr window);
// Drops the connection (a test ends, the program was stopped).
void disconnect();

// The frames on the socket, shared with the program. Handled carries the
// answer in dwData (0 or 1 for an activation or a bringing to the front);
// Activate carries the title in lpData and 1 in dwData to press Down;
// Foreground carries the window's handle in dwData.
enum class FrameKind : quint32 { CopyData = 1, Close = 2, Handled = 3, Activate = 4, Foreground = 5 };
struct Frame {
    FrameKind kind = FrameKind::CopyData;
    CopyData data;
};
QByteArray encodeFrame(const Frame& frame);
// Takes one complete frame off the front of the buffer. Nothing while the frame
// is incomplete; `broken` is set for data that is no frame.
std::optional<Frame> takeFrame(QByteArray& buffer, bool& broken);

} // namespace hamlog::window
