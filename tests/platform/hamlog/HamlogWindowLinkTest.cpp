// The logging program's window: started as a real process and driven through
// its socket with the items and requests the system sends.
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/forms/waits/Waits.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "support/ProgramFolder.h"

#include <QProcess>
#include <QTimer>
#include <csignal>

using namespace hamlog;
using namespace hamlog::window;

namespace {

TEST(HamlogWindowItems, CarryTheTextPaddedAndTheLengthOfTheirKind) {
    struct Case {
        quint32 code;
        QString text;
        quint32 cbData;
        bool hasText;
    } cases[] = {
        {HamlogItemCall, QStringLiteral("QQ1ABC"), 6, true},
        {HamlogItemCall, QStringLiteral("  QQ1ABC  "), 6, true},
        {HamlogItemQth, QStringLiteral("Tokyo"), 10, true},
        {HamlogItemName, QStringLiteral("太郎"), 4, true},
        {HamlogItemRemarks, QStringLiteral("001(SendNo) "), 22, true},
        {HamlogItemFreq, QStringLiteral("14.070"), 6, true},
        {HamlogItemMode, QStringLiteral("PSK31"), 5, true},
        {HamlogItemField4, QStringLiteral("599"), 3, true},
        {HamlogCmdClear, {}, 0, true},
        {HamlogCmdSave, {}, 0, true},
        {HamlogReqName, {}, 0, false},
        {HamlogReqQth, {}, 0, false},
        {HamlogReqRecNo, {}, 0, false},
    };
    for (const Case& c : cases) {
        const CopyData data = item(c.code, c.text);
        EXPECT_EQ(data.dwData, c.code);
        EXPECT_EQ(data.cbData, c.cbData) << c.text.toStdString();
        ASSERT_EQ(data.lpData.has_value(), c.hasText) << c.code;
        if (!c.hasText) continue;
        const QByteArray expected = cp932::encode(c.text.left(256).leftJustified(256)) + '\0';
        EXPECT_EQ(*data.lpData, expected) << c.code;
    }
    EXPECT_EQ(item(HamlogItemName, QStringLiteral("x").repeated(300)).lpData->size(), 257);
}

TEST(HamlogWindowFrames, SurviveTheTripAndRejectWhatIsNoFrame) {
    const Frame sent{FrameKind::CopyData, item(HamlogItemName, QStringLiteral("花子"))};
    QByteArray wire = encodeFrame(sent) + encodeFrame({FrameKind::Handled, {}});
    QByteArray partial = wire.left(10);
    bool broken = false;
    EXPECT_FALSE(takeFrame(partial, broken));
    EXPECT_FALSE(broken);
    const auto first = takeFrame(wire, broken);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->data.dwData, sent.data.dwData);
    EXPECT_EQ(first->data.cbData, sent.data.cbData);
    EXPECT_EQ(first->data.lpData, sent.data.lpData);
    const auto second = takeFrame(wire, broken);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->kind, FrameKind::Handled);
    EXPECT_FALSE(second->data.lpData);
    EXPECT_TRUE(wire.isEmpty());
    QByteArray junk("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_FALSE(takeFrame(junk, broken));
    EXPECT_TRUE(broken);
}

class HamlogWindowTest : public zvtest::ProgramFolderTest {
  protected:
    void TearDown() override {
        disconnect();
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(zvtest::kSafetyNetMsecs);
        }
        ProgramFolderTest::TearDown();
    }
    QString dataPath() const { return path(QStringLiteral("HAMLOG")); }

    void start() {
        program.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                      {QStringLiteral("-iforZORVAT"), QStringLiteral("--log"), dataPath() + ".HDB"});
        ASSERT_TRUE(program.waitForStarted(zvtest::kSafetyNetMsecs));
        ASSERT_TRUE(zvtest::waitUntil([] { return findWindow() > 0; }));
    }
    void send(quint32 code, const QString& text = {}) {
        ASSERT_TRUE(sendCopyData(findWindow(), item(code, text)));
    }
    // The reply to a request, as the system's window receives it.
    QString ask(quint32 code) {
        QList<CopyData> replies;
        EXPECT_TRUE(sendCopyData(findWindow(), item(code), [&](const CopyData& d) { replies << d; }));
        if (replies.size() != 1 || !replies[0].lpData) return QStringLiteral("<no reply>");
        EXPECT_EQ(replies[0].cbData, static_cast<quint32>(replies[0].lpData->size()));
        return cp932::decode(replies[0].lpData->left(replies[0].cbData));
    }
    // The record count as the system reads it: the number from the second
    // character after "=" up to the CR LF.
    int count() {
        const QString reply = ask(HamlogReqRecNo);
        const qsizetype p = reply.indexOf(QStringLiteral("count="));
        const qsizetype q = reply.indexOf(QStringLiteral("\r\n"));
        bool ok = false;
        const int n = reply.mid(p + 7, q - (p + 7)).toInt(&ok);
        EXPECT_TRUE(p >= 0 && q > p && ok) << reply.toStdString();
        return n;
    }

    QProcess program;
};

TEST_F(HamlogWindowTest, NotRunningMeansNoWindow) {
    EXPECT_EQ(findWindow(), 0);
    EXPECT_FALSE(sendCopyData(findWindow(), item(HamlogItemCall, QStringLiteral("QQ1AAA"))));
    EXPECT_FALSE(postClose(findWindow()));
}

TEST_F(HamlogWindowTest, StoresTheSentQsoIntoTheLogAndAnswersFromIt) {
    start();
    EXPECT_EQ(count(), 0);

    send(HamlogItemCall, QStringLiteral("QQ1AAA"));
    send(HamlogItemRemarks, QStringLiteral("001(SendNo) "));
    send(HamlogItemFreq, QStringLiteral("7.041"));
    send(HamlogItemMode, QStringLiteral("PSK31"));
    send(HamlogItemField4, QStringLiteral("599"));
    EXPECT_EQ(ask(HamlogReqName).trimmed(), QString()); // a station not in the log
    send(HamlogItemName, QStringLiteral("太郎"));
    EXPECT_EQ(ask(HamlogReqName), QStringLiteral("太郎"));
    send(HamlogItemQth, QStringLiteral("東京都八王子市"));
    EXPECT_EQ(ask(HamlogReqQth), QStringLiteral("東京都八王子市"));
    send(HamlogCmdSave);
    EXPECT_EQ(count(), 1);

    HamlogHandle h;
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    const std::pair<int, QString> stored[] = {
        {FieldCall, "QQ1AAA"},
        {FieldFreq, "7.041"},
        {FieldMode, "PSK31"},
        {FieldHis, "599"},
        {FieldRem1, "001(SendNo)"},
        {FieldName, QStringLiteral("太郎")},
        {FieldQth, QStringLiteral("東京都八王子市")},
    };
    QString buffer;
    for (const auto& [no, text] : stored) {
        ThwString(buffer, h, no);
        EXPECT_EQ(buffer.trimmed(), text) << no;
    }
    ThwString(buffer, h, FieldDate);
    EXPECT_TRUE(QDate::fromString(buffer, QStringLiteral("yy-MM-dd")).isValid()) << buffer.toStdString();
    HamlogClose(h, 0);

    // The station again: name and QTH come from the log; a cleared entry stores nothing.
    send(HamlogItemCall, QStringLiteral("QQ1AAA"));
    EXPECT_EQ(ask(HamlogReqName), QStringLiteral("太郎"));
    EXPECT_EQ(ask(HamlogReqQth), QStringLiteral("東京都八王子市"));
    send(HamlogCmdClear);
    send(HamlogCmdSave);
    EXPECT_EQ(count(), 1);
}

TEST_F(HamlogWindowTest, EntryItemsAnswerAndItsWindowIsFoundByTitleAndHandle) {
    start();
    const QString title = QStringLiteral(" ＬＯＧ-[Ａ]　　　");
    const auto result = [](quint32 code, const QString& text) {
        CopyData data{code, quint32(text.size()), itemText(text)};
        return sendCopyDataForResult(findWindow(), data);
    };
    EXPECT_EQ(result(0x20001, {}), 0u) << "no entry open";
    EXPECT_EQ(result(0x20006, QStringLiteral("7.041000")), 0u);
    EXPECT_FALSE(activateTitled(findWindow(), title, true));

    send(HamlogItemCall, QStringLiteral("QQ1AAA"));
    EXPECT_EQ(result(0x20001, {}), 1u);
    const std::optional<quint32> handle = result(0x20006, QStringLiteral("7.041000"));
    ASSERT_TRUE(handle && *handle > 0);
    EXPECT_TRUE(activateTitled(findWindow(), title + QStringLiteral("QQ1AAA"), true));
    EXPECT_TRUE(activateTitled(findWindow(), title + QStringLiteral("QQ1"), false)) << "a title's beginning";
    EXPECT_FALSE(activateTitled(findWindow(), title + QStringLiteral("QQ1AAB"), false));
    EXPECT_TRUE(bringToFront(findWindow(), *handle));
    EXPECT_FALSE(bringToFront(findWindow(), *handle + 1));
    EXPECT_EQ(result(HamlogItemMode, QStringLiteral("PSK31")), 0u) << "a field's item answers nothing";

    send(HamlogCmdSave);
    HamlogHandle h;
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    QString buffer;
    ThwString(buffer, h, FieldFreq);
    EXPECT_EQ(buffer.trimmed(), QStringLiteral("7.041000")) << "the entry took the frequency";
    HamlogClose(h, 0);
}

// Killed while the link waits for its answer, or while the handler of its
// reply waits: the exchange ends, and the next finds the program gone.
TEST_F(HamlogWindowTest, KilledInsideAWaitIsAProgramGone) {
    for (const bool inHandler : {false, true}) {
        SCOPED_TRACE(inHandler ? "in the reply's handler" : "for its answer");
        start();
        send(HamlogItemCall, QStringLiteral("QQ1AAA"));
        const auto killAndWait = [&] {
            program.kill();
            while (program.state() != QProcess::NotRunning)
                forms::letEventsRun(10);
        };
        if (!inHandler) {
            ::kill(pid_t(program.processId()), SIGSTOP);
            QTimer::singleShot(0, &program, killAndWait);
        }
        sendCopyData(findWindow(), item(HamlogReqName), [&](const CopyData&) {
            if (inHandler) killAndWait();
        });
        EXPECT_EQ(program.state(), QProcess::NotRunning);
        EXPECT_FALSE(sendCopyData(findWindow(), item(HamlogItemCall, QStringLiteral("QQ1BBB"))));
        disconnect();
    }
}

TEST_F(HamlogWindowTest, ClosesOnRequestAndASecondStartEndsAtOnce) {
    start();
    QProcess second;
    second.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                 {QStringLiteral("--log"), dataPath()});
    ASSERT_TRUE(second.waitForFinished(zvtest::kSafetyNetMsecs));
    EXPECT_NE(second.exitCode(), 0);
    EXPECT_EQ(findWindow(), 1);

    EXPECT_TRUE(postClose(findWindow()));
    ASSERT_TRUE(program.waitForFinished(zvtest::kSafetyNetMsecs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    disconnect();
    EXPECT_EQ(findWindow(), 0);
}

} // namespace
