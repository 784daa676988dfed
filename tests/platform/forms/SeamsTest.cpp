// The seams tests rely on: the clock, the dialogs, the window registry,
// colours, the single-instance guard and the boxes' overtype rule.
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/forms/waits/Waits.h"
#include "platform/forms/windows/Forms.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/os/ProcessStop.h"
#include "platform/os/SingleInstance.h"
#include "platform/qsl/MmqslAutomation.h"
#include "support/ProgramFolder.h"

#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QPalette>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <functional>
#include <memory>

namespace {

TEST(Clock, JstIsUtcPlusNineHoursAllYear) {
    sysclock::setUtcForTest(QDateTime(QDate(2004, 12, 31), QTime(20, 0), Qt::UTC));
    EXPECT_EQ(sysclock::jstNow(), QDateTime(QDate(2005, 1, 1), QTime(5, 0)));
    sysclock::advanceForTest(3600 * 1000);
    EXPECT_EQ(sysclock::utcNow(), QDateTime(QDate(2004, 12, 31), QTime(21, 0), Qt::UTC));
    sysclock::setUtcForTest(QDateTime(QDate(2026, 7, 1), QTime(0, 30), Qt::UTC));
    EXPECT_EQ(sysclock::jstNow(), QDateTime(QDate(2026, 7, 1), QTime(9, 30)));
    EXPECT_EQ(sysclock::jstToUtc(sysclock::jstNow()), sysclock::utcNow());
    sysclock::resetForTest();
    EXPECT_LE(qAbs(sysclock::utcNow().secsTo(QDateTime::currentDateTimeUtc())), 2);
}

TEST(Colour, ConvertsColourReferences) {
    EXPECT_EQ(colour::fromRef(0x00C0FFC0), QColor(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(colour::fromRef(0x000000FF), QColor(Qt::red));
    EXPECT_EQ(colour::toRef(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(colour::fromRef(colour::kButtonFace), QApplication::palette().color(QPalette::Button));
    std::uint32_t ref = 0;
    EXPECT_TRUE(colour::parseRef("12632256", &ref));
    EXPECT_EQ(ref, 12632256u);
    EXPECT_TRUE(colour::parseRef("&H8000000F&", &ref));
    EXPECT_EQ(ref, colour::kButtonFace);
    EXPECT_TRUE(colour::parseRef("-2147483633", &ref));
    EXPECT_EQ(ref, colour::kButtonFace);
    EXPECT_FALSE(colour::parseRef("red", &ref));
    EXPECT_EQ(twips::toPx(1440), 96);
    EXPECT_EQ(twips::fromPx(96), 1440);
}

TEST(Overtype, ASelectionGrowsToTheOvertypeAndNeverShrinks) {
    struct Case {
        const char* text;
        qsizetype start, length;
        int n;
        ui::Span span;
    } cases[] = {
        {"QQ1ABCDEFGHIJ", 2, 0, 10, {2, 10}},    // a caret: the next ten
        {"QQ1ABC", 2, 0, 10, {2, 4}},            // fewer at the end
        {"QQ1ABC", 6, 0, 10, {6, 0}},            // at the end typing appends
        {"QQ1ABCDEFGHIJ", 1, 3, 10, {1, 10}},    // a shorter selection grows
        {"QQ1ABCDEFGHIJKT", 0, 15, 10, {0, 15}}, // a longer one stays whole
        {"QQ1ABCDEFGHIJKT", 3, 12, 10, {3, 12}},
        {"599", 1, 0, 1, {1, 1}},
        {"599", 0, 3, 1, {0, 3}},
        {"599", 0, 3, 0, {0, 3}},
        {"599", 2, 9, 1, {2, 1}}, // never past the text
        {"599", 7, 0, 1, {3, 0}},
        {"", 0, 0, 10, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.start) + "+" + std::to_string(c.length));
        const ui::Span got = ui::overtypeSpan(QString::fromLatin1(c.text), c.start, c.length, c.n);
        EXPECT_EQ(got.start, c.span.start);
        EXPECT_EQ(got.length, c.span.length);
    }
}

class DialogScript : public zvtest::ProgramFolderTest {};

TEST_F(DialogScript, AnswersFromTheQueueAndRecordsWhatWasAsked) {
    ui::script::push(ui::No);
    ui::script::push(QStringLiteral("JA1ZZZ"));
    ui::script::push(QVariant());
    EXPECT_EQ(ui::msgBox(QStringLiteral("保存しますか"), ui::YesNo | ui::Question), ui::No);
    EXPECT_EQ(ui::inputBox(QStringLiteral("コールサイン")), std::optional<QString>(QStringLiteral("JA1ZZZ")));
    EXPECT_EQ(ui::inputBox(QStringLiteral("again")), std::nullopt);
    // With the queue empty a message box takes its first button, a dialog is cancelled.
    EXPECT_EQ(ui::msgBox(QStringLiteral("x"), ui::YesNoCancel), ui::Yes);
    EXPECT_EQ(ui::openFileName(QStringLiteral("open"), folder(), QStringLiteral("*.MAC")), QString());
    EXPECT_EQ(ui::chooseColour(Qt::red), std::nullopt);

    const auto& asked = ui::script::asked();
    ASSERT_EQ(asked.size(), 6);
    EXPECT_EQ(asked[0].kind, QStringLiteral("msgBox"));
    EXPECT_EQ(asked[0].prompt, QStringLiteral("保存しますか"));
    EXPECT_EQ(asked[0].title, ui::kProgramTitle);
    EXPECT_EQ(asked[0].style, ui::YesNo | ui::Question);
    EXPECT_EQ(asked[4].kind, QStringLiteral("openFile"));
}

class Probe : public QWidget {
  public:
    static inline int loads = 0;
    static inline int unloads = 0;
    void Form_Load() {
        ++loads;
        visibleAtLoad = isVisible();
    }
    void Form_Unload() { ++unloads; }
    bool visibleAtLoad = true;
};

class Other : public QWidget {};

TEST_F(DialogScript, WindowRegistryLoadsHiddenOnceAndAnewAfterUnload) {
    Probe::loads = Probe::unloads = 0;
    EXPECT_FALSE(forms::isLoaded<Probe>());
    Probe& first = forms::get<Probe>();
    EXPECT_EQ(&forms::get<Probe>(), &first);
    EXPECT_EQ(Probe::loads, 1);
    EXPECT_FALSE(first.visibleAtLoad);
    EXPECT_FALSE(first.isVisible());

    QPointer<Probe> old(&first);
    forms::unload<Probe>();
    EXPECT_EQ(Probe::unloads, 1);
    EXPECT_FALSE(forms::isLoaded<Probe>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());

    forms::get<Probe>();
    forms::get<Other>();
    EXPECT_EQ(Probe::loads, 2);
    forms::unloadAllExcept(&forms::get<Other>());
    EXPECT_FALSE(forms::isLoaded<Probe>());
    EXPECT_TRUE(forms::isLoaded<Other>());
    forms::unloadAllExcept();
    EXPECT_EQ(forms::loadedCount(), 0);

    // A window owned by another goes with its owner: the unload of all still ends.
    forms::get<Probe>().setParent(&forms::get<Other>(), Qt::Window);
    delete &forms::get<Other>();
    EXPECT_FALSE(forms::isLoaded<Probe>());
    forms::unloadAllExcept();
    EXPECT_EQ(forms::loadedCount(), 0);
    EXPECT_EQ(Probe::loads, 3);
    forms::get<Probe>();
    EXPECT_EQ(forms::loadedCount(), 1) << "loaded anew, it is there once";
    forms::unloadAllExcept();
}

TEST_F(DialogScript, OnlyOneInstancePerProgramFolder) {
    instance::Guard first(folder());
    EXPECT_TRUE(first.isFirst());
    EXPECT_FALSE(instance::Guard(folder()).isFirst());

    // The real program, started a second time on the same folder, ends at once.
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORVATEK_HOME"), folder());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.start(qEnvironmentVariable("ZV_PROGRAM_DIR") + QStringLiteral("/zorvatek"), {});
    ASSERT_TRUE(second.waitForStarted(zvtest::kSafetyNetMsecs));
    EXPECT_TRUE(second.waitForFinished(zvtest::kSafetyNetMsecs));
    EXPECT_EQ(second.exitCode(), 0);
}

// What an operator or a peer may do while something waits.
TEST(Waits, EachRequestIsTakenHeldOrRefusedByWhatIsUnderWay) {
    using forms::Answer;
    using forms::Request;
    const forms::Under none, wait{true, false, false}, start{true, false, true}, change{true, true, false};
    const struct {
        Request request;
        Answer none, wait, start, change;
    } rows[] = {
        {Request::ModeChange, Answer::Now, Answer::Held, Answer::Refused, Answer::Refused},
        {Request::Retune, Answer::Now, Answer::Held, Answer::Refused, Answer::Refused},
        {Request::Start, Answer::Now, Answer::Held, Answer::Held, Answer::Refused},
        {Request::End, Answer::Now, Answer::Held, Answer::Held, Answer::Held},
        {Request::EngineEnded, Answer::Now, Answer::Held, Answer::Held, Answer::Held},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(int(r.request));
        EXPECT_EQ(forms::answerTo(r.request, none), r.none);
        EXPECT_EQ(forms::answerTo(r.request, wait), r.wait);
        EXPECT_EQ(forms::answerTo(r.request, start), r.start);
        EXPECT_EQ(forms::answerTo(r.request, change), r.change);
    }
}

// Held requests run in order once the outermost wait is over; a start held
// before a stop is dropped, and nothing is taken after an end.
TEST(Waits, HeldRequestsRunAfterTheOutermostWait) {
    QStringList ran;
    const auto note = [&ran](const char* what) { return [&ran, what] { ran << what; }; };
    {
        forms::EventsRunScope outer;
        {
            const forms::EventsRunScope inner;
            EXPECT_FALSE(forms::mayActNow(forms::Request::ModeChange, note("change")));
            EXPECT_FALSE(forms::mayActNow(forms::Request::Start, note("dropped start")));
            forms::takeStop();
            EXPECT_FALSE(inner.mayGoOn());
        }
        EXPECT_FALSE(forms::mayActNow(forms::Request::Start, note("start")));
        EXPECT_FALSE(forms::mayActNow(forms::Request::End, note("end")));
        EXPECT_FALSE(forms::mayActNow(forms::Request::Retune, note("retune")));
        EXPECT_FALSE(outer.finish());
        EXPECT_TRUE(ran.isEmpty()) << "nothing runs inside the handler that waited";
    }
    EXPECT_TRUE(zvtest::waitUntil([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran, QStringList({"change", "start", "end"}));
    EXPECT_TRUE(forms::mayActNow(forms::Request::ModeChange, {}));
}

// A start belongs to its engine and to the moment it was asked: the engine
// replaced or gone stops the start under way and drops a held one; a box the
// operator answers drops a held one; a wait that is no start goes on.
TEST(Waits, AStartIsNotCarriedOverItsEngineOrAnAnsweredBox) {
    for (const bool engineGone : {true, false}) {
        SCOPED_TRACE(engineGone ? "the engine gone" : "a box answered");
        QStringList ran;
        {
            forms::EventsRunScope wait;
            EXPECT_FALSE(forms::mayActNow(forms::Request::Start, [&ran] { ran << "held start"; }));
            EXPECT_FALSE(forms::mayActNow(forms::Request::Retune, [&ran] { ran << "retune"; }));
            forms::EventsRunScope start(forms::EventsRunScope::Start);
            if (engineGone) {
                EXPECT_TRUE(forms::engineChanges()) << "a start was under way";
            } else {
                QDialog box;
                QTimer::singleShot(0, &box, [&box] { box.accept(); });
                EXPECT_EQ(forms::execModal(box), QDialog::Accepted);
            }
            EXPECT_EQ(start.mayGoOn(), !engineGone);
            EXPECT_TRUE(wait.mayGoOn());
            start.finish();
        }
        EXPECT_TRUE(zvtest::waitUntil([&] { return !ran.isEmpty(); }));
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_EQ(ran, QStringList{"retune"});
    }
    EXPECT_FALSE(forms::engineChanges()) << "nothing under way nor held";
}

// A wait that ends before one begun inside it takes away its own entry: the
// inner one is still known to run, and of the kind it is.
TEST(Waits, AWaitEndedOutOfOrderLeavesTheOthersKnown) {
    auto change = std::make_unique<forms::EventsRunScope>(forms::EventsRunScope::ModeChange);
    {
        const forms::EventsRunScope wait;
        change->finish();
        EXPECT_TRUE(forms::waitsRun());
        EXPECT_FALSE(forms::modeChangeRuns());
        EXPECT_EQ(
            forms::answerTo(forms::Request::ModeChange, {forms::waitsRun(), forms::modeChangeRuns(), false}),
            forms::Answer::Held);
    }
    EXPECT_FALSE(forms::waitsRun());
    change.reset();
    EXPECT_FALSE(forms::waitsRun());
}

// A peer is waited for with the windows' events running, through the owner:
// done when it comes, at the limit when it does not, at once when the end
// asks the waits to end. An outside program asked to end is waited for so
// too, and killed at the limit.
TEST(Waits, APeerIsWaitedForWithTheWindowsRunning) {
    QTemporaryDir dir;
    const QString ready = dir.filePath(QStringLiteral("ready"));
    qint64 deaf = 0;
    ASSERT_TRUE(QProcess::startDetached(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("trap '' TERM; : > '%1'; exec sleep 60").arg(ready)}, {},
        &deaf));
    ASSERT_TRUE(zvtest::waitUntil([&] { return QFile::exists(ready); }));
    bool came = false;
    const struct {
        const char* peer;
        std::function<bool()> waited;
    } rows[] = {
        {"a peer's answer",
         [&] {
             QTimer::singleShot(30, [&] { came = true; });
             return forms::waitUntil([&] { return came; }, 60'000);
         }},
        {"a program that takes no notice of the request to end",
         [&] { return process::stop(deaf, 200) && !process::running(deaf); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.peer);
        bool ranInWait = false;
        QTimer::singleShot(0, [&] { ranInWait = forms::waitsRun(); });
        EXPECT_TRUE(r.waited());
        EXPECT_TRUE(ranInWait) << "events ran inside the wait, known to the owner";
    }
    EXPECT_FALSE(forms::waitUntil([] { return false; }, 20)) << "the limit";
    QStringList ran;
    QTimer::singleShot(0,
                       [&] { EXPECT_FALSE(forms::mayActNow(forms::Request::End, [&] { ran << "end"; })); });
    EXPECT_FALSE(forms::waitUntil([] { return false; }, 600'000)) << "ended early by the end";
    EXPECT_TRUE(zvtest::waitUntil([&] { return !ran.isEmpty(); }));
    forms::detail::dropHeld();
}

// A link to an outside program may go while the windows are taken apart at
// the end: it ends its program with none of their events run meanwhile.
TEST(Waits, ALinkEndsItsProgramWithoutRunningEvents) {
    QTemporaryDir folder;
    auto rtty = std::make_unique<mmtty::MmttyLink>();
    const qint64 pid = rtty->start(mmtty::provideProgram(folder.path()), 1);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(rtty->waitForWindow(zvtest::kSafetyNetMsecs));
    // Stopped, it takes no close and is killed.
    ::kill(pid_t(pid), SIGSTOP);
    auto qsl = std::make_unique<mmqsl::Application>(
        paths::join(paths::executableFolder(), QStringLiteral("MMQSL.EXE")));
    ASSERT_TRUE(qsl->created());
    struct Case {
        const char* name;
        std::function<void()> end;
    } cases[] = {
        {"the RTTY program, stopped", [&] { rtty.reset(); }},
        {"the QSL program", [&] { qsl.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        c.end();
        EXPECT_FALSE(ran) << "an event ran inside the link's end";
        EXPECT_TRUE(zvtest::waitUntil([&] { return ran; }));
    }
}

// The code with its comments and the insides of its strings and characters
// taken out, lines kept.
QString codeOnly(const QString& text) {
    QString out;
    out.reserve(text.size());
    enum { Code, Line, Block, Str, Chr } state = Code;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        switch (state) {
        case Code:
            if (c == u'/' && next == u'/')
                state = Line;
            else if (c == u'/' && next == u'*')
                state = Block, ++i;
            else if (c == u'"')
                state = Str, out += c;
            else if (c == u'\'' && !(i > 0 && text[i - 1].isLetterOrNumber()))
                state = Chr, out += c;
            else
                out += c;
            break;
        case Line:
            if (c == u'\n') state = Code, out += c;
            break;
        case Block:
            if (c == u'*' && next == u'/')
                state = Code, ++i;
            else if (c == u'\n')
                out += c;
            break;
        case Str:
        case Chr:
            if (c == u'\\')
                ++i;
            else if (c == (state == Str ? u'"' : u'\''))
                state = Code, out += c;
            else if (c == u'\n')
                state = Code, out += c;
            break;
        }
    }
    return out;
}

// Each place in the code where an object is freed by name (a deletion, later
// or at once) or owned by a unique pointer of a Qt class, which frees it when
// reset or replaced.
QStringList freeingsIn(const QString& text) {
    static const QRegularExpression freeing(QStringLiteral(
        R"(\bdeleteLater\b|\bqDeleteAll\b|\bdelete\b(?!\s*[;,)])|\bunique_ptr\s*<\s*Q[A-Z]\w*\s*>)"));
    QStringList found;
    const QStringList lines = codeOnly(text).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        for (auto m = freeing.globalMatch(lines[i]); m.hasNext(); m.next())
            found << QStringLiteral("%1: %2").arg(i + 1).arg(lines[i].trimmed());
    return found;
}

// Where the code frees an object by name outside the owner of waits, each
// with why it cannot be inside one of that object's own signals then. The
// small outside programs under platform/programs are processes of their own.
const struct Allowed {
    const char* file;
    int count;
    const char* why;
} kFreedOutsideTheOwner[] = {
    {"platform/forms/waits/Waits.cpp", 2, "the owner itself"},
    {"platform/forms/dialogs/Dialogs.cpp", 3,
     "the answer keys' watch frees itself from its own filter or timer, which wait for nothing; Qt holds "
     "the deletion until that delivery has returned"},
    {"platform/forms/windows/WindowFrame.cpp", 3,
     "the frame placer frees itself from its own timers, which wait for nothing; one replaced only moved "
     "its window"},
    {"platform/forms/dialogs/QtJapanese.cpp", 1, "a translator that did not load, which never emits"},
    {"platform/forms/controls/PictureBox.cpp", 1, "line shapes, which are no objects"},
    {"logwindows/entry/TEMP_LOG.cpp", 1,
     "the boxes' filter, in the window's destructor: the window goes through the owner"},
    {"sstv/workshop/SstvTitles.cpp", 1,
     "title labels, whose handlers wait for nothing, freed from the window's buttons, load and stop"},
    {"platform/hamlog/HamlogWindowLink.cpp", 2,
     "a socket read between waits, with nothing connected to its signals, let go only when no exchange runs"},
    {"platform/qsl/MmqslAutomation.h", 2,
     "the QSL program's server and process, polled, with nothing connected to their signals"},
    {"platform/os/AlertSound.h", 1, "the effect, let go through the owner"},
    {"platform/os/SingleInstance.h", 1, "a lock file, which is no object"},
    {"platform/os/EndSignals.h", 1, "the signal watch's notifier, freed after the program's loop has ended"},
};

// No new place frees an object whose signal may be on the stack but the owner
// of waits (forms::destroyLater), or one named above with its reason.
TEST(Waits, NothingIsFreedOutsideTheOwnerButWhereItIsSafe) {
    const QString top = QStringLiteral(ZV_SOURCE_DIR "/src/");
    QMap<QString, QStringList> found;
    int files = 0;
    QDirIterator all(top, QDir::Files, QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString path = all.next();
        const QString rel = path.mid(top.size());
        if (rel.startsWith(QLatin1String("platform/programs/")) ||
            !rel.contains(QRegularExpression(R"(\.(h|cpp)$)")))
            continue;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << rel.toStdString();
        ++files;
        const QStringList freeings = freeingsIn(QString::fromUtf8(f.readAll()));
        if (!freeings.isEmpty()) found[rel] = freeings;
    }
    EXPECT_GT(files, 500);
    for (const Allowed& a : kFreedOutsideTheOwner) {
        const QStringList places = found.take(QLatin1String(a.file));
        EXPECT_EQ(places.size(), a.count) << a.file << " (" << a.why << "):\n"
                                          << places.join(u'\n').toStdString();
    }
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        ADD_FAILURE() << it.key().toStdString() << " frees an object outside forms::destroyLater:\n"
                      << it.value().join(u'\n').toStdString();
}

// The check finds a freeing however it is written, and leaves alone what only
// looks like one.
TEST(Waits, TheFreeingCheckFindsEachWayOfFreeing) {
    const struct {
        const char* code;
        int found;
    } rows[] = {
        {"socket->deleteLater();", 1},
        {"connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);", 1},
        {"QMetaObject::invokeMethod(s, \"deleteLater\");", 0},
        {"delete reply;", 1},
        {"delete\n    reply;", 1},
        {"if (x) delete w_.Label1.back();", 1},
        {"qDeleteAll(children);", 1},
        {"std::unique_ptr<QProcess> process_;", 1},
        {"std::unique_ptr< QTcpSocket > s = std::make_unique<QTcpSocket>();", 1},
        {"A(const A&) = delete;", 0},
        {"A& operator=(A&&) =delete;", 0},
        {"// delete the old socket, then deleteLater", 0},
        {"/* s->deleteLater(); */ int x;", 0},
        {"label->setText(\"delete it\");", 0},
        {"forms::destroyLater(s);", 0},
        {"std::unique_ptr<Simulation> sim_;", 0},
        {"void Del_Click(); // delete", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(freeingsIn(QString::fromUtf8(r.code)).size(), r.found);
    }
}

} // namespace
