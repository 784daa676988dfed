// The key's state as a table: every event in every state, the state it
// leaves and what the port code is asked to do.
#include "rig/KeyState.h"

#include "rig/RigGlobals.h"
#include "support/SyntaxCheck.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <type_traits>
#include <utility>

namespace {

using rig::KeyAction;
using rig::KeyEventKind;
using rig::KeyState;

const rig::KeyLine A{QStringLiteral("ICOM"), QStringLiteral("58"), QStringLiteral("/dev/rig")};
const rig::KeyLine A2{QStringLiteral("ICOM"), QStringLiteral("5E"), QStringLiteral("/dev/rig")};
const rig::KeyLine B{QStringLiteral("KENWOOD"), QString(), QStringLiteral("/dev/rig")};
const rig::KeyLine C{QStringLiteral("ICOM"), QStringLiteral("58"), QStringLiteral("COM1")};

KeyState state(int open, int lost, const rig::KeyLine& on, int keyed, int last, int doubt, int clear = 0,
               int unheard = 0) {
    KeyState s;
    s.RigPortOpen = open;
    s.RigLineLost = lost;
    s.RigOpenedLine = on;
    s.PttKeyedByCat = keyed;
    s.PttOnLastSent = last;
    s.KeyedLine = keyed || last ? A : rig::KeyLine{};
    s.KeyInDoubt = doubt;
    s.ClearKeyAtOpen = clear;
    s.ReleaseUnheard = unheard;
    return s;
}

// Columns: the states.
const KeyState kStates[] = {
    state(0, 0, {}, 0, 0, 0, 1),   // s: the start, nothing opened yet
    state(1, 0, A, 0, 0, 0),       // i: open on A, nothing keyed
    state(1, 0, A, 1, 1, 0),       // k: an over keyed on A
    state(1, 1, A, 1, 1, 1),       // l: that over, its line lost
    state(0, 0, A, 1, 1, 1),       // c: that over behind a port whose reopening failed
    state(1, 1, A, 0, 1, 0),       // o: a release owed to A, its line lost
    state(0, 0, A, 0, 1, 0),       // O: a release owed to A, the port closed
    state(1, 0, C, 0, 1, 0),       // e: a release owed to A, the port open on another port
    state(1, 0, A, 0, 1, 0, 0, 1), // u: a release written on A, its answer awaited
    state(1, 0, A, 0, 1, 0),       // w: a release owed to A, open on A: the rig was silent after it
};

// A cell: the action, then the port (o open, l lost, c closed), then the key
// (- none, K keyed on A, D keyed on A in doubt, O a release owed to A, U a
// release written on A whose answer is awaited).
QString cell(const rig::KeyStep& st) {
    static const char actions[] = "NRAFWCESPBIXTG";
    const KeyState& n = st.next;
    const char port = n.RigPortOpen != 1 ? 'c' : n.RigLineLost == 1 ? 'l' : 'o';
    char key = '-';
    if (n.PttKeyedByCat == 1)
        key = n.KeyInDoubt == 1 ? 'D' : 'K';
    else if (n.PttOnLastSent == 1)
        key = n.KeyedLine != A ? '?' : n.ReleaseUnheard == 1 ? 'U' : 'O';
    return QString(QLatin1Char(actions[int(st.action)])) + QLatin1Char(port) + QLatin1Char(key);
}

struct Row {
    const char* name;
    rig::KeyEvent event;
    const char* cells; // one per state, in the order of kStates
};

// Actions: N nothing, R the release first, A key again, F key for the over, W keep the
// key, C clear a key left, E end the over and say it, S say the loss, P open again,
// B look for the line, I count an idle tick, X stop the watch, T tell at the end,
// G the release first, then the over keyed.
const Row kRows[] = {
    // clang-format off
    {"start",                {KeyEventKind::Start},                         "Nc- Nc- NcK NcD NcD NcO NcO NcO NcO NcO"},
    {"A opened, no over",    {KeyEventKind::Opened, A},                     "Co- No- WoK WoD WoD RoO RoO RoO RoO RoO"},
    {"A opened, over",       {KeyEventKind::Opened, A, true},               "Fo- Fo- WoK AoD AoD GoO GoO GoO GoO GoO"},
    {"A's other address",    {KeyEventKind::Opened, A2, true},              "Fo- Fo- WoK AoD AoD GoO GoO GoO GoO GoO"},
    {"B opened, no over",    {KeyEventKind::Opened, B},                     "Co- No- EoO EoO EoO NoO NoO NoO NoO NoO"},
    {"B opened, over",       {KeyEventKind::Opened, B, true},               "Fo- Fo- EoO EoO EoO EoO EoO EoO EoO EoO"},
    {"opening failed",       {KeyEventKind::OpenFailed, A},                 "Nc- Nc- NcD NcD NcD NcO NcO NcO NcO NcO"},
    {"closed, key kept",     {KeyEventKind::Closed, {}, true, true},        "Nc- Nc- NcK NcD NcD NcO NcO NcO NcO NcO"},
    {"closed",               {KeyEventKind::Closed},                        "Nc- Nc- NcO NcO NcO NcO NcO NcO NcO NcO"},
    {"line lost",            {KeyEventKind::LineLost},                      "Nc- Sl- SlD NlD NcD NlO NcO SlO SlO SlO"},
    {"A back, over",         {KeyEventKind::LineBack, A, true},             "Nc- No- NoK AoD NcD GoO NcO NoO NoU NoO"},
    {"A back, no over",      {KeyEventKind::LineBack, A},                   "Nc- No- NoK WoD NcD RoO NcO NoO NoU NoO"},
    {"key-on asked on A",    {KeyEventKind::KeyOnAsked, A},                 "Nc- No- NoK NlD NcD NlO NcO NoO NoU NoO"},
    {"key-on asked on C",    {KeyEventKind::KeyOnAsked, C},                 "Nc- No- NoK NlD NcD ElO EcO EoO EoU EoO"},
    {"key-on written on A",  {KeyEventKind::KeyOnWritten, A},               "NcK NoK NoK NlK NcK NlK NcK NoK NoK NoK"},
    {"key-on refused",       {KeyEventKind::KeyOnRefused},                  "Ec- Eo- EoO ElO EcO ElO EcO EoO EoU EoO"},
    {"key-off written",      {KeyEventKind::KeyOffWritten},                 "Nc- No- No- Nl- Nc- Nl- Nc- No- No- No-"},
    {"key-off written, heard later", {KeyEventKind::KeyOffWritten, A, false, false, true}, "NcU NoU NoU NlU NcU NlU NcU NoU NoU NoU"},
    {"release heard",        {KeyEventKind::ReleaseHeard},                  "Nc- No- NoK NlD NcD NlO NcO NoO No- NoO"},
    {"rig silent after it",  {KeyEventKind::RigSilent},                     "Nc- No- NoK NlD NcD NlO NcO NoO SoO NoO"},
    {"late write failure",   {KeyEventKind::WriteFailed},                   "Nc- No- NoK NlD NcD NlO NcO NoO SoO NoO"},
    {"rig heard, no over",   {KeyEventKind::RigHeard},                      "Nc- No- NoK NlD NcD NlO NcO NoO NoU RoO"},
    {"rig heard, over",      {KeyEventKind::RigHeard, {}, true},            "Nc- No- NoK NlD NcD NlO NcO NoO NoU NoO"},
    {"key-off refused on A", {KeyEventKind::KeyOffRefused, A},              "ScO SoO SoO SlO ScO SlO ScO SoO SoO SoO"},
    {"stop",                 {KeyEventKind::Stop},                          "Nc- No- RoK RlD RcD RlO RcO RoO RoU RoO"},
    {"tick, A named, sends", {KeyEventKind::Tick, A, true},                 "Xc- Xo- NoK BlD ScD RlO PcO SoO NoU RoO"},
    {"tick, A named, idle",  {KeyEventKind::Tick, A},                       "Xc- Xo- IoK IlD IcD RlO PcO SoO NoU RoO"},
    {"tick, C named",        {KeyEventKind::Tick, C},                       "Xc- Xo- IoK IlD IcD RlO ScO SoO NoU RoO"},
    {"A named for good",     {KeyEventKind::NamedForGood, A},               "Nc- No- NoK NlD NcD NlO NcO NoO NoU NoO"},
    {"A's address for good", {KeyEventKind::NamedForGood, A2},              "Nc- No- NoK NlD NcD NlO NcO NoO NoU NoO"},
    {"C named for good",     {KeyEventKind::NamedForGood, C},               "Nc- No- NoK NlD NcD Nl- Nc- No- No- No-"},
    {"end",                  {KeyEventKind::End},                           "Nc- No- RoK TlD TcD TlO TcO ToO RoU RoO"},
    // clang-format on
};

TEST(KeyState, EveryEventInEveryState) {
    int events = 0;
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.name);
        events |= 1 << int(r.event.kind);
        QStringList got;
        for (const KeyState& s : kStates)
            got << cell(rig::keyStep(s, r.event));
        EXPECT_EQ(got.join(QLatin1Char(' ')).toStdString(), std::string(r.cells));
    }
    EXPECT_EQ(events, (1 << (int(KeyEventKind::End) + 1)) - 1) << "a row for every event";
}

} // namespace

namespace {

// Every call around the rig link that opens, closes or keys the port, or
// stops a transmission, with the key event it feeds. A caller added, moved or
// gone fails here until it is given its row.
struct Caller {
    const char* file;
    const char* call;
    int count;
    const char* feeds;
};
const Caller kCallers[] = {
    // clang-format off
    {"settings/sheet/CFGSHEET_closing.cpp",  "RigLineNamedForGood", 1, "NamedForGood"},
    {"settings/sheet/CFGSHEET_closing.cpp",  "RigOpenPort",         1, "Closed, Opened / OpenFailed (the sheet's closing)"},
    {"settings/sheet/CFGSHEET_rig.cpp",      "RigClosePort",        1, "Stop's release, Closed (no rig port)"},
    {"settings/sheet/CFGSHEET_rig.cpp",      "RigOpenPort",         1, "Opened / OpenFailed (every click on the rig tab)"},
    {"sstv/window/SSTVForm_engine.cpp",      "RigPttOff",           1, "KeyOffWritten / KeyOffRefused"},
    {"sstv/window/SSTVForm_keys.cpp",        "RigClosePort",        1, "Closed (suspend)"},
    {"sstv/window/SSTVForm_keys.cpp",        "RigOpenPort",         1, "Opened (restore)"},
    {"sstv/window/SSTVForm_keys.cpp",        "RigPttOffForEsc",     1, "Stop"},
    {"sstv/window/SSTVForm_load.cpp",        "RigClosePort",        2, "Closed (the window's end, a mode change)"},
    {"sstv/window/SSTVForm_load.cpp",        "RigOpenPort",         1, "Opened (the window's load)"},
    {"sstv/window/SSTVForm_load.cpp",        "RigPttOff",           1, "KeyOffWritten / KeyOffRefused"},
    {"sstv/workshop/SSTVForm_sendcontrols.cpp", "RigPttOff",        1, "KeyOffWritten / KeyOffRefused"},
    {"terminal/engines/EngineStop.cpp",      "RigClosePort",        1, "Closed (the end)"},
    {"terminal/engines/EngineStop.cpp",      "RigPttOff",           1, "KeyOffWritten / KeyOffRefused (every stop)"},
    {"terminal/engines/EngineStop.cpp",      "RigPttOn",            1, "KeyOnAsked, KeyOnWritten / KeyOnRefused (every start, past the stop guard)"},
    {"terminal/engines/EngineStop.h",        "OperatorStop",        1, "a key-on refused while any stop runs"},
    {"terminal/engines/MmttyWndProc.cpp",    "RigPttOff",           3, "KeyOffWritten / KeyOffRefused"},
    {"terminal/engines/ModeChange.cpp",      "RigClosePort",        1, "Closed (a mode change)"},
    {"terminal/engines/ModeChange.cpp",      "RigOpenPort",         1, "Opened (a mode change)"},
    {"terminal/engines/PskStatus.cpp",       "RigPttOff",           1, "KeyOffWritten / KeyOffRefused"},
    {"terminal/engines/SuspendMenus.cpp",    "RigLendPort",         1, "Closed (suspend, an outside program)"},
    {"terminal/engines/SuspendMenus.cpp",    "RigOpenPort",         1, "Opened (restore)"},
    {"terminal/mainwindow/PSK31MAIN_keys.cpp", "RigPttOffForEsc",   1, "Stop"},
    {"terminal/mainwindow/PSK31MAIN_layout.cpp", "RigOpenPort",     1, "Opened (the start)"},
    {"terminal/mainwindow/PSK31MAIN_load.cpp", "RigOpenPort",       1, "Opened (the start)"},
    {"terminal/mainwindow/PSK31MAIN_shutdown.cpp", "RigClosePort",  2, "Closed (the end)"},
    {"terminal/panels/MmvariEvents.cpp",     "RigPttOff",           1, "KeyOffWritten / KeyOffRefused"},
    {"terminal/transmit/TxControl.cpp",      "RigPttOff",           1, "KeyOffWritten / KeyOffRefused"},
    // The rig link's own: declarations, definitions and calls, so that a new
    // caller inside the link is found as one outside it is.
    {"rig/RigCommands.cpp", "OperatorStop", 4, "the link itself"},
    {"rig/RigCommands.cpp", "RigLineBack", 3, "the link itself"},
    {"rig/RigCommands.cpp", "RigLineNamedForGood", 1, "the link itself"},
    {"rig/RigCommands.cpp", "RigOpenPortAgain", 1, "the link itself"},
    {"rig/RigCommands.cpp", "RigPerformKey", 6, "the link itself"},
    {"rig/RigCommands.cpp", "RigPttClearOnOpen", 2, "the link itself"},
    {"rig/RigCommands.cpp", "RigPttOff", 2, "the link itself"},
    {"rig/RigCommands.cpp", "RigPttOffBeforeClose", 1, "the link itself"},
    {"rig/RigCommands.cpp", "RigPttOffForEsc", 1, "the link itself"},
    {"rig/RigCommands.cpp", "RigPttOn", 3, "the link itself"},
    {"rig/RigCommands.cpp", "keyEvent", 12, "the link itself"},
    {"rig/RigLink.cpp", "RigClosePort", 1, "the link itself"},
    {"rig/RigLink.cpp", "RigOpenPortAgain", 1, "the link itself"},
    {"rig/RigLink.cpp", "RigPerformKey", 1, "the link itself"},
    {"rig/RigLink.cpp", "keyEvent", 4, "the link itself"},
    {"rig/RigPolling.cpp", "RigLineBack", 1, "the link itself"},
    {"rig/RigPort.cpp", "RigClosePort", 1, "the link itself"},
    {"rig/RigPort.cpp", "RigLendPort", 1, "the link itself"},
    {"rig/RigPort.cpp", "RigLineBack", 1, "the link itself"},
    {"rig/RigPort.cpp", "RigOpenPort", 1, "the link itself"},
    {"rig/RigPort.cpp", "RigOpenPortAgain", 1, "the link itself"},
    {"rig/RigPort.cpp", "RigPerformKey", 5, "the link itself"},
    {"rig/RigPort.cpp", "RigPttOffBeforeClose", 1, "the link itself"},
    {"rig/RigPort.cpp", "keyEvent", 10, "the link itself"},
    {"rig/RigSettings.cpp", "keyEvent", 1, "the link itself"},
    {"rig/RigGlobals.h", "keyEvent", 2, "declared, and the key's one writer as its state's friend"},
    {"rig/RigCommands.h", "OperatorStop", 7, "the link itself"},
    {"rig/RigCommands.h", "RigLineNamedForGood", 1, "the link itself"},
    {"rig/RigCommands.h", "RigPerformKey", 1, "the link itself"},
    {"rig/RigCommands.h", "RigPttClearOnOpen", 1, "the link itself"},
    {"rig/RigCommands.h", "RigPttOff", 1, "the link itself"},
    {"rig/RigCommands.h", "RigPttOffBeforeClose", 1, "the link itself"},
    {"rig/RigCommands.h", "RigPttOffForEsc", 1, "the link itself"},
    {"rig/RigCommands.h", "RigPttOn", 1, "the link itself"},
    {"rig/RigPort.h", "RigClosePort", 1, "the link itself"},
    {"rig/RigPort.h", "RigLendPort", 1, "the link itself"},
    {"rig/RigPort.h", "RigLineBack", 1, "the link itself"},
    {"rig/RigPort.h", "RigOpenPort", 1, "the link itself"},
    {"rig/RigPort.h", "RigOpenPortAgain", 1, "the link itself"},
    {"rig/RigPort.h", "keyEvent", 1, "the link itself"},
    // clang-format on
};

QStringList sourceLines(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
}

// The calls that open, close or key the port, or stop a transmission.
const QRegularExpression kCalls(QStringLiteral(
    "\\b(RigOpenPort|RigOpenPortAgain|RigClosePort|RigLendPort|RigPttOn|RigPttOff|RigPttOffForEsc|"
    "RigPttOffBeforeClose|RigLineBack|RigLineNamedForGood|RigPttClearOnOpen|RigPerformKey|keyEvent|"
    "OperatorStop)\\b"));

// The calls of the table in a file's lines, by name; comments are not calls.
std::map<QString, int> callsIn(const QStringList& lines) {
    std::map<QString, int> found;
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(QLatin1String("//"))) continue;
        for (auto m = kCalls.globalMatch(line); m.hasNext();)
            ++found[m.next().captured(1)];
    }
    return found;
}

// A line outside keyStep that writes the key's state, plainly or around it:
// an exchange or swap, a reference or pointer taken to a field or to the
// state, a cast, a byte copy, a macro, or the shared state's reset in the
// program's code.
bool writesTheKey(const QString& line) {
    static const QString fields =
        QStringLiteral("(RigPortOpen|RigLineLost|RigOpenedLine|RigOpenRetry|PttKeyedByCat|"
                       "PttOnLastSent|KeyedLine|ReleaseUnheard|KeyInDoubt|ClearKeyAtOpen)");
    static const QRegularExpression forms[] = {
        QRegularExpression(QStringLiteral("\\b%1\\s*(=[^=]|\\+\\+|--|\\+=|-=|\\|=|&=)").arg(fields)),
        QRegularExpression(QStringLiteral("\\b(exchange|swap)\\s*\\([^;]*\\b%1\\b").arg(fields)),
        QRegularExpression(QStringLiteral("[&*]\\s*\\w+\\s*=\\s*[^=;]*\\b%1\\b").arg(fields)),
        QRegularExpression(QStringLiteral("=\\s*&\\s*[\\w:.>-]*\\b%1\\b").arg(fields)),
        QRegularExpression(QStringLiteral("#\\s*define\\b.*\\b%1\\b").arg(fields)),
        QRegularExpression(
            QStringLiteral(
                "\\b(const_cast|reinterpret_cast|memcpy|memset|memmove)\\b.*(\\b%1\\b|KeyState|\\bg\\b)")
                .arg(fields)),
        QRegularExpression(QStringLiteral("(\\brig::g|(^|[^\\w.:])g)\\s*=\\s*(\\{|Globals)")),
        // A reference to the state that is not to a constant one.
        QRegularExpression(QStringLiteral("(?<!const )(?<!const rig::)\\bKeyState\\s*&")),
    };
    const QString t = line.trimmed();
    // A copy declared for reading (a value, or a reference to const) writes nothing.
    const bool readCopy = (t.startsWith(QLatin1String("const ")) || t.startsWith(QLatin1String("int ")) ||
                           t.startsWith(QLatin1String("KeyLine "))) &&
                          !t.contains(QLatin1String("_cast")) && !t.startsWith(QLatin1String("#"));
    if (readCopy) return false;
    for (const QRegularExpression& f : forms)
        if (t.contains(f)) return true;
    return false;
}

// The key's one writer: keyStep, and the line of keyEvent that keeps what it gives.
bool ownerLine(const QString& name, const QString& line) {
    return name == QLatin1String("rig/KeyState.cpp") ||
           (name == QLatin1String("rig/RigPort.cpp") &&
            line.trimmed() == QLatin1String("g.take(step.next);"));
}

// Every field of the shared key state reads as before and takes no write:
// the compiler refuses one outside the port code's keyEvent.
TEST(KeyState, TheSharedKeyTakesNoWriteButItsOwners) {
    using G = rig::Globals;
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().RigPortOpen)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().RigLineLost)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().RigOpenedLine)), rig::KeyLine>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().RigOpenedLine.port)), QString>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().RigOpenRetry)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().PttKeyedByCat)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().PttOnLastSent)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().KeyedLine)), rig::KeyLine>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().ReleaseUnheard)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().KeyInDoubt)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().ClearKeyAtOpen)), int>));
    EXPECT_FALSE((std::is_assignable_v<decltype((std::declval<G&>().key())), rig::KeyState>));
    EXPECT_FALSE((std::is_assignable_v<G&, rig::KeyState>));
    // Read as the program reads it: the state keyEvent keeps.
    EXPECT_EQ(&rig::g.PttKeyedByCat, &rig::g.key().PttKeyedByCat);
    EXPECT_EQ(&rig::g.KeyedLine, &rig::g.key().KeyedLine);
}

// Nor does the whole shared key take an assignment, in any of its forms (each
// line of the first file refused), while the link's other values do.
TEST(KeyState, AWholeResetOfTheSharedKeyDoesNotCompile) {
    const char* refused[] = {
        "rig::g = {};",
        "rig::g = rig::Globals{};",
        "static_cast<rig::KeyStateKept&>(rig::g) = rig::KeyStateKept{};",
    };
    QByteArray resets = "#include \"rig/RigGlobals.h\"\n";
    for (const char* code : refused)
        resets += QByteArray("void f") + QByteArray::number(resets.count('\n')) + "() { " + code + " }\n";
    QTemporaryDir dir;
    const auto compile = [&](const QByteArray& code) {
        QFile f(dir.filePath(QStringLiteral("a.cpp")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(code);
        f.close();
        const zvtest::SyntaxCheck compiled = zvtest::checkSyntax(f.fileName());
        EXPECT_TRUE(compiled.finished);
        return std::pair(compiled.exitCode, compiled.said);
    };
    const auto [failed, said] = compile(resets);
    EXPECT_NE(failed, 0);
    for (int line = 2; line < 2 + int(std::size(refused)); ++line)
        EXPECT_TRUE(
            said.contains(QRegularExpression(QStringLiteral("a\\.cpp:%1:\\d+: error: .*deleted").arg(line))))
            << refused[line - 2] << "\n"
            << said.toStdString();
    const auto [setFailed, setSaid] =
        compile("#include \"rig/RigGlobals.h\"\nvoid f() { rig::g.RigType = QString(); }\n");
    EXPECT_EQ(setFailed, 0) << setSaid.toStdString();
}

TEST(KeyState, EveryCallerOfThePortAndTheKeyHasItsRow) {
    const QString src = QStringLiteral(ZV_SOURCE_DIR "/src/");
    std::map<std::pair<QString, QString>, int> found;
    QStringList writers;
    QDirIterator it(src, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        const QString name = file.mid(src.size());
        ++files;
        const QStringList lines = sourceLines(file);
        for (const QString& line : lines) {
            if (line.trimmed().startsWith(QLatin1String("//"))) continue;
            if (!ownerLine(name, line) && writesTheKey(line))
                writers << name + QStringLiteral(": ") + line.trimmed();
        }
        for (const auto& [call, n] : callsIn(lines))
            found[{name, call}] = n;
    }
    ASSERT_GT(files, 100) << "the sources are read";
    EXPECT_TRUE(writers.isEmpty()) << writers.join(QLatin1Char('\n')).toStdString();
    std::map<std::pair<QString, QString>, int> listed;
    for (const Caller& c : kCallers)
        listed[{QString::fromLatin1(c.file), QString::fromLatin1(c.call)}] = c.count;
    for (const auto& [at, n] : found)
        EXPECT_EQ(n, listed.count(at) ? listed[at] : 0)
            << at.first.toStdString() << " " << at.second.toStdString() << ": give it its row";
    for (const auto& [at, n] : listed)
        EXPECT_EQ(found.count(at) ? found[at] : 0, n)
            << at.first.toStdString() << " " << at.second.toStdString();
}

// The writers that went around the check before it saw them, each seen now,
// and the reads beside them left alone; a new caller inside the rig link is
// found as one outside it is.
TEST(KeyState, TheCheckSeesTheKeysIndirectWriters) {
    const struct {
        const char* line;
        bool writes;
    } rows[] = {
        // clang-format off
        {"rig::g.PttKeyedByCat = 0;",                                          true},
        {"std::exchange(rig::g.PttKeyedByCat, 0);",                            true},
        {"std::swap(g.PttOnLastSent, saved);",                                 true},
        {"int& k = rig::g.PttOnLastSent;",                                     true},
        {"auto& line = g.KeyedLine;",                                          true},
        {"int* p = &rig::g.KeyInDoubt;",                                       true},
        {"#define UNKEY rig::g.PttKeyedByCat = 0",                             true},
        {"static_cast<KeyState&>(rig::g) = {};",                               true},
        {"bool owed(const rig::KeyState& s);",                                 false},
        {"const_cast<rig::KeyState&>(state).PttKeyedByCat = 0;",               true},
        {"std::memset(&rig::g, 0, sizeof rig::g);",                            true},
        {"rig::g = {};",                                                       true},
        {"g = Globals();",                                                     true},
        {"sstv::g = {};",                                                      false},
        {"g.RigPortOpen |= 1;",                                                true},
        {"if (rig::g.PttKeyedByCat == 1) return;",                             false},
        {"const KeyLine keyed = g.KeyedLine;",                                 false},
        {"const int& open = rig::g.RigPortOpen;",                              false},
        {"return g.RigPortOpen == 1 && carriesKeyOf(g.RigOpenedLine, g.KeyedLine);", false},
        // clang-format on
    };
    for (const auto& r : rows)
        EXPECT_EQ(writesTheKey(QString::fromLatin1(r.line)), r.writes) << r.line;
    const std::map<QString, int> calls = callsIn(
        {QStringLiteral("    if (!RigPttOn()) return;"), QStringLiteral("    // RigPttOff() in a comment")});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls.begin()->first, QStringLiteral("RigPttOn"));
}

} // namespace
