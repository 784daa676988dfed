#pragma once
// Our SSTV engine library: the modem that receives and sends SSTV pictures for
// the SSTV window. The functions carry the library's names, arguments and
// results; behind them is a simulated modem (SstvSimulation.cpp), good enough
// to show the system working and to test it.
//
// What callers rely on:
// - Notices. Between mmsStart and mmsStop the engine posts SstvMsgEngine to the
//   window handle given to mmsCreate: wParam 0 work pending (the caller answers
//   with mmsDoJob), 1 transmission started (lParam 1) or ended (0), 2 a picture
//   begins (lParam 1) or has ended (0), 3 an FSK ID was decoded. They reach the
//   one handler connected with subclass() for that handle, as queued calls in
//   the order posted. After mmsStop (or unsubclass) nothing more arrives, not
//   even notices already under way.
// - Bitmaps are handles into one table of pictures, 0 meaning none; a handle is
//   never given out twice. mmsCreateDIB, LoadPicture and mmsPasteDIB make them,
//   DeleteObject releases them; releasing 0 or an unknown handle does nothing.
//   A device context is a picture box; rectangles there are in the box's scale.
// - Drawing (mode 4) stretches smoothly; the part of a source rectangle outside
//   its bitmap is clipped away (SstvDrawing.h).
// - mmsSaveDIB writes a 24-bit BMP file and answers 1 when it was written, else 0.
// - LoadPicture reads BMP and JPEG files only (SstvPictureFile.h).
// - Texts come back as addresses that mmsStrCopy copies out.
// - Control words: -1 reads, any other value sets. Sample rates are in 1/100 Hz.
//
// The simulation: station QQ9ABC sends a generated test picture every 30 s,
// line by line over about 10 s, every third one in Robot 36 and the others in
// Scottie 1; after each it sends its FSK ID, which the engine decodes while bit
// 0 of the receive-control word is set. mmsStartScan receives a picture in the
// given mode at once; mmsStopScan(0) drops the picture in progress without an
// end notice. Sending a picture, a tune tone or the CW ID gives a TX start
// notice, job notices while mmsGetPos advances (sent lines are echoed in the
// preview bitmap) and a TX end notice.
//
// Tests can pace the simulation, start a picture and force results (TestHooks)
// and read the calls made (calls(), the last 5000).
#include "platform/engines/EngineNotices.h"
#include "platform/sstvengine/SstvDrawing.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

class PictureBox;

namespace sstveng {

constexpr std::int32_t SstvMsgEngine = 0x7F1;
// The largest side of a bitmap the engine makes, pasted or loaded.
constexpr int MaxDibSide = 4096;

enum Notice : std::int32_t { NtfJob = 0, NtfTxState = 1, NtfRxPicture = 2, NtfFskId = 3 };

// Bits of the receive-control word.
enum RxBit : std::int32_t {
    RxFskId = 1 << 0,
    RxAfc = 1 << 1,
    RxLms = 1 << 2,
    RxRestart = 1 << 3,
    RxStop = 1 << 4,
    RxSync = 1 << 5,
    RxSlant = 1 << 6,
    RxErase = 1 << 7,
};

// The nominal sample rate, in 1/100 Hz.
constexpr std::int32_t BaseSampleRate = 1102500;
constexpr char StationCall[] = "QQ9ABC";

using LibCall = standin::LibCall;

struct TestHooks {
    int lineIntervalMs = 39;        // one received or sent line per interval
    int pictureIntervalMs = 30'000; // from one picture of the station to the next
    QByteArray stationFskId = StationCall;
    std::int32_t measuredRate = BaseSampleRate; // what a slant correction measures
    std::int32_t txOffset = 0;                  // mmsGetSampleFreq(1)
    std::int32_t baseRate = BaseSampleRate;     // mmsGetSampleFreq(3)
    std::int32_t optionResult = -1;             // forced result of mmsOption; -1 shows the dialog
    bool failNextStop = false;                  // the next mmsStop fails (throws), as a broken engine would
};

class Simulation;

class SstvEngine : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(std::int32_t msg, std::int32_t wParam, std::int32_t lParam)>;

    SstvEngine();
    ~SstvEngine() override;

    // "Subclassing": the handler of the window with this handle receives the
    // notices posted to it. Refused (false) while a handler is connected.
    bool subclass(std::int32_t hwnd, QObject* window, Handler handler);
    void unsubclass();
    bool isSubclassed() const;

    // ---- Life ----
    void mmsCreate(std::int32_t hwnd, std::int32_t msg);
    void mmsStart();
    void mmsStop();
    void mmsDelete();
    std::int32_t mmsGetVersion();
    std::int32_t mmsDisableOption(std::int32_t mask);
    // The engine's own settings dialog; 1 when the operator accepted it.
    std::int32_t mmsOption();
    void mmsDoJob(std::int32_t flag);
    std::int32_t mmsStrCopy(QByteArray* buffer, std::int32_t size, std::int32_t address);

    // ---- Pictures ----
    std::int32_t mmsCreateDIB(std::int32_t width, std::int32_t height);
    std::int32_t LoadPicture(const QString& path);
    std::int32_t DeleteObject(std::int32_t bitmap);
    std::int32_t mmsGetClearColor();
    void mmsSetClearColor(std::int32_t colour);
    std::int32_t mmsFillDIB(std::int32_t bitmap, std::int32_t colour);
    std::int32_t mmsGetDIBSize(Rect* rect, std::int32_t bitmap);
    std::int32_t mmsDrawDIBdc(PictureBox* dc, const Rect& dst, std::int32_t bitmap, const Rect& src,
                              std::int32_t mode);
    std::int32_t mmsDrawDIBbmp(std::int32_t target, const Rect& dst, std::int32_t bitmap, const Rect& src,
                               std::int32_t mode);
    std::int32_t mmsDrawDCbmp(std::int32_t target, const Rect& dst, PictureBox* dc, const Rect& src,
                              std::int32_t mode);
    std::int32_t mmsSaveDIB(const QString& path, std::int32_t bitmap);
    std::int32_t mmsCopyDIB(std::int32_t bitmap);
    std::int32_t mmsPasteDIB();
    void mmsSetBitmap(std::int32_t rx, std::int32_t preview, std::int32_t tx);
    void mmsSetTuneBitmap(std::int32_t spectrum, std::int32_t waterfall, std::int32_t level);

    // ---- Tuning ----
    void mmsSetSpecRange(std::int32_t baseHz, std::int32_t spanHz);
    void mmsSetSpecColor(std::int32_t back, std::int32_t line, std::int32_t marker, std::int32_t sync,
                         std::int32_t text);
    void mmsSetWaterColor(std::int32_t low, std::int32_t high);
    std::int32_t mmsSetNotch(std::int32_t hz);
    std::int32_t mmsAdjustPhase(std::int32_t offset, std::int32_t width);

    // ---- Words ----
    std::int32_t mmsSetRxControl(std::int32_t word);
    std::int32_t mmsSetTuneControl(std::int32_t word);
    std::int32_t mmsSetTxControl(std::int32_t word);
    std::int32_t mmsSetLMS(std::int32_t mode);

    // ---- Receiving and sending ----
    std::int32_t mmsGetMode(std::int32_t flag);
    std::int32_t mmsGetModeName(std::int32_t mode);
    std::int32_t mmsGetImageSize(std::int32_t mode);
    std::int32_t mmsGetFSKID();
    std::int32_t mmsGetPos(std::int32_t flag);
    void mmsStartScan(std::int32_t mode);
    void mmsStopScan(std::int32_t flag);
    void mmsReSync();
    void mmsCorrectSlant();
    void mmsSendPic(std::int32_t mode);
    void mmsSendTone(std::int32_t hz);
    void mmsSendCWID(const QByteArray& ansiText);
    void mmsSendStop();

    // ---- IDs, ports, clock ----
    // An empty text only reads; the result is the address of the current ID.
    std::int32_t mmsSetFSKID(const QByteArray& ansiText);
    std::int32_t mmsSetCWID(const QByteArray& ansiText);
    void mmsSetPTTPort(const QString& name);
    void mmsSetRadioPort(const QString& name);
    // kind 3 nominal, 2 measured receive rate, 1 transmit offset.
    std::int32_t mmsGetSampleFreq(std::int32_t kind);
    void mmsSetSampleFreq(std::int32_t kind, std::int32_t rate);

    // ---- For tests, the picture boxes' owners and the key watch ----
    TestHooks& hooks() { return hooks_; }
    const std::deque<LibCall>& calls() const { return calls_.calls(); }
    QStringList callTexts() const { return calls_.texts(); }
    void clearCalls() { calls_.clear(); }
    // The picture of a handle, null for 0 or an unknown handle.
    const QImage* bitmap(std::int32_t handle) const;
    int liveBitmaps() const { return int(bitmaps_.size()); }
    bool isRunning() const;
    bool isTransmitting() const;
    bool isReceiving() const;
    // The station starts its next picture now, in the mode given.
    void startStationPicture(int mode);

  private:
    friend class Simulation;
    void record(const char* name, QVariantList args);
    void post(std::int32_t wParam, std::int32_t lParam);
    std::int32_t keep(QImage picture);
    QImage* image(std::int32_t handle);
    std::int32_t textAddress(int slot, const QByteArray& text);

    TestHooks hooks_;
    standin::CallRecord calls_;
    QHash<std::int32_t, QImage> bitmaps_;
    std::int32_t nextHandle_ = 0x5D000001;
    // Texts handed out by address: version, mode name, FSK ID, CW ID.
    QHash<std::int32_t, QByteArray> texts_;
    standin::NoticeTarget notices_;
    std::int32_t targetHwnd_ = 0;
    std::int32_t clearColour_ = 0x000000;
    std::int32_t disabledOptions_ = 0;
    std::int32_t rxWord_;
    std::int32_t tuneWord_;
    std::int32_t txWord_ = 0;
    std::int32_t lms_ = 0;
    std::int32_t notchHz_ = 0;
    std::int32_t rxRate_ = BaseSampleRate;
    QByteArray fskId_;
    QByteArray decodedFskId_;
    QByteArray cwId_;
    QString pttPort_ = QStringLiteral("NONE");
    std::unique_ptr<Simulation> sim_;
};

// The engine of the run, as the SSTV window calls it.
SstvEngine& lib();

} // namespace sstveng
