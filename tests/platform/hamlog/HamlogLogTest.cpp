// The logging library over a real SQLite log in a temporary program folder.
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"
#include "support/Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace hamlog;

namespace {

class HamlogLogTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(createLog(dataPath()));
        ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    }
    void TearDown() override {
        HamlogClose(h, 0);
        ProgramFolderTest::TearDown();
    }
    QString dataPath() const { return path(QStringLiteral("HAMLOG")); }

    // Stages the fourteen fields as the save of the log entry window does.
    void stage(const QString& call, const QString& name = {}, const QString& qth = {}) {
        for (const FieldSpec& f : kFields)
            if (f.no != FieldFlag) SetThBuffer(h, QString(f.width, QLatin1Char(' ')), f.no);
        SetThBuffer(h, call, FieldCall);
        SetThBuffer(h, QStringLiteral("24-01-15"), FieldDate);
        SetThBuffer(h, name, FieldName);
        SetThBuffer(h, qth, FieldQth);
    }
    int append(const QString& call, const QString& name = {}, const QString& qth = {}) {
        stage(call, name, qth);
        return THW_append(h, 16, 0);
    }
    QString field(int no) {
        QString buffer;
        ThwString(buffer, h, no);
        return buffer;
    }
    // Runs SQL on the log file from outside the library, as another program would.
    void sql(const char* statement) const {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(dataPath() + ".HDB").constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    HamlogHandle h;
};

TEST_F(HamlogLogTest, AppendsReadsAndCountsRecordsNumberedFromOne) {
    EXPECT_EQ(Vdbf_rcount(h), 0);
    const QStringList calls{"QQ1AAA", "QQ2BBB", "QQ3CCC"};
    for (const QString& call : calls)
        ASSERT_EQ(append(call, QStringLiteral("Taro")), Done);
    EXPECT_EQ(Vdbf_rcount(h), 3);
    for (int recNo = 1; recNo <= 3; ++recNo) {
        ASSERT_EQ(THW_read(h, recNo, 3), Done);
        EXPECT_EQ(field(FieldCall), calls[recNo - 1].leftJustified(20)) << recNo;
        EXPECT_EQ(field(FieldDate), QStringLiteral("24-01-15"));
        EXPECT_EQ(field(FieldName), QStringLiteral("Taro").leftJustified(64));
        EXPECT_EQ(field(FieldFlag), QStringLiteral(" "));
        QString number;
        EXPECT_EQ(ThwString(number, h, FieldRecNo), recNo);
        EXPECT_EQ(number.trimmed(), QString::number(recNo));
    }
    // A reopened log keeps count and numbers.
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(Vdbf_rcount(h), 3);
    ASSERT_EQ(THW_read(h, 2, 3), Done);
    EXPECT_EQ(field(FieldCall).trimmed(), QStringLiteral("QQ2BBB"));
}

TEST_F(HamlogLogTest, AFailedReadLeavesNoRecordCurrent) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro")), Done);
    ASSERT_EQ(append(QStringLiteral("QQ2BBB"), QStringLiteral("Jiro")), Done);
    for (int recNo : {0, -1, 3, 1000}) {
        ASSERT_EQ(THW_read(h, 1, 3), Done);
        EXPECT_NE(THW_read(h, recNo, 3), Done) << recNo;
        EXPECT_EQ(field(FieldCall), QString(20, QLatin1Char(' '))) << recNo;
        EXPECT_EQ(field(FieldName), QString(64, QLatin1Char(' '))) << recNo;
        QString number;
        EXPECT_EQ(ThwString(number, h, FieldRecNo), 0) << recNo;
    }
}

TEST_F(HamlogLogTest, AReopenedHandleHasNothingCurrentStagedOrWalked) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro"), QStringLiteral("Tokyo")), Done);
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro")), Done);
    ASSERT_EQ(Vidx_search(h, QStringLiteral("QQ1AAA"), 16), 1);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    SetThBuffer(h, QStringLiteral("staged name"), FieldName);
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(field(FieldQth), QString(128, QLatin1Char(' ')));
    EXPECT_EQ(Vidx_next(h, 16), 0) << "no walk goes on from before the open";
    SetThBuffer(h, QStringLiteral("QQ2BBB"), FieldCall);
    ASSERT_EQ(THW_append(h, 16, 0), Done);
    ASSERT_EQ(THW_read(h, 3, 3), Done);
    EXPECT_EQ(field(FieldName).trimmed(), QString()) << "nothing staged before the open is stored";
    EXPECT_EQ(field(FieldQth).trimmed(), QString());
}

TEST_F(HamlogLogTest, EveryCallOnAClosedHandleFailsWithoutHarm) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA")), Done);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    const HamlogHandle shown = h;
    HamlogClose(h, 0);
    QString buffer;
    MasterIndex index;
    const std::pair<const char*, std::function<int()>> calls[] = {
        {"HamlogClose", [&] { return HamlogClose(h, 0); }},
        {"Vdbf_rcount", [&] { return Vdbf_rcount(h) < 0 ? -1 : 0; }},
        {"THW_read", [&] { return THW_read(h, 1, 3); }},
        {"ThwString", [&] { return ThwString(buffer, h, FieldCall); }},
        {"SetThBuffer", [&] { return SetThBuffer(h, QStringLiteral("QQ9ZZZ"), FieldCall); }},
        {"THW_append", [&] { return THW_append(h, 16, 0); }},
        {"THW_update", [&] { return THW_update(h, shown, 1, 16, 17); }},
        {"Vidx_search", [&] { return Vidx_search(h, QStringLiteral("QQ1AAA"), 16) == 0 ? -1 : 0; }},
        {"Vidx_next", [&] { return Vidx_next(h, 16) == 0 ? -1 : 0; }},
        {"idx_next", [&] { return idx_next(index) == 0 ? -1 : 0; }},
        {"idx_close", [&] { return idx_close(index); }},
    };
    for (const auto& [name, call] : calls)
        EXPECT_NE(call(), Done) << name;
    EXPECT_EQ(buffer, QString(20, QLatin1Char(' ')));
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(Vdbf_rcount(h), 1);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    EXPECT_EQ(field(FieldCall).trimmed(), QStringLiteral("QQ1AAA"));
}

TEST_F(HamlogLogTest, OpenFailsForAMissingOrForeignFileAndLeavesItAlone) {
    HamlogHandle other;
    EXPECT_EQ(HamlogOpen(0, other, path(QStringLiteral("NOSUCH")), 0), NoSuchLog);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("NOSUCH.HDB"))));
    const QByteArray foreign("DBASE III log of another program, not ours\r\n");
    writeFile(QStringLiteral("OTHER.HDB"), foreign);
    EXPECT_EQ(HamlogOpen(0, other, path(QStringLiteral("OTHER")), 0), NotALog);
    EXPECT_EQ(readFile(QStringLiteral("OTHER.HDB")), foreign);
    EXPECT_NE(Vdbf_rcount(other), 0);
    // A lower-case extension is found as well.
    ASSERT_TRUE(QFile::rename(dataPath() + ".HDB", dataPath() + ".hdb"));
    EXPECT_EQ(HamlogOpen(0, other, dataPath(), 0), Done);
    HamlogClose(other, 0);
}

TEST_F(HamlogLogTest, ALogWithTheOldCallIndexIsWalkedAsBefore) {
    // A log as earlier versions made it: its call index holds the call alone.
    const QString old = path(QStringLiteral("OLD"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(old + ".HDB").constData(), &db), SQLITE_OK);
    const char* made =
        "CREATE TABLE qso (recno INTEGER PRIMARY KEY, call TEXT NOT NULL, date TEXT NOT NULL,"
        " time TEXT NOT NULL, his TEXT NOT NULL, my TEXT NOT NULL, freq TEXT NOT NULL,"
        " mode TEXT NOT NULL, code TEXT NOT NULL, gl TEXT NOT NULL, qsl TEXT NOT NULL,"
        " name TEXT NOT NULL, qth TEXT NOT NULL, rem1 TEXT NOT NULL, rem2 TEXT NOT NULL,"
        " flag TEXT NOT NULL);"
        "CREATE INDEX qso_call ON qso(call);"
        "PRAGMA application_id = 1515604044; PRAGMA user_version = 1;"
        "INSERT INTO qso VALUES (1, 'QQ1AAA/P', '', '', '', '', '', '', '', '', '', 'P', '', '', '', '');"
        "INSERT INTO qso VALUES (2, 'QQ1AAA', '', '', '', '', '', '', '', '', '', 'A', '', '', '', '');"
        "INSERT INTO qso VALUES (3, 'QQ1AAA', '', '', '', '', '', '', '', '', '', 'B', '', '', '', '');";
    EXPECT_EQ(sqlite3_exec(db, made, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);

    HamlogHandle o;
    ASSERT_EQ(HamlogOpen(0, o, old, 0), Done);
    QStringList names;
    for (int recNo = Vidx_search(o, QStringLiteral("QQ1AAA"), 16); recNo > 0; recNo = Vidx_next(o, 16)) {
        ASSERT_EQ(THW_read(o, recNo, 3), Done);
        QString name;
        ThwString(name, o, FieldName);
        names << name.trimmed();
    }
    EXPECT_EQ(names, (QStringList{"A", "B", "P"}));
    SetThBuffer(o, QStringLiteral("QQ1AAA"), FieldCall);
    SetThBuffer(o, QStringLiteral("C"), FieldName);
    ASSERT_EQ(THW_append(o, 16, 0), Done);
    EXPECT_EQ(Vidx_search(o, QStringLiteral("QQ1AAA"), 16), 2);
    EXPECT_EQ(Vidx_next(o, 16), 3);
    EXPECT_EQ(Vidx_next(o, 16), 4) << "the QSO stored since is in the index";
    HamlogClose(o, 0);
}

TEST_F(HamlogLogTest, UpdateRewritesInPlaceAndKeepsUnstagedFields) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro")), Done);
    ASSERT_EQ(append(QStringLiteral("QQ2BBB"), QStringLiteral("Jiro")), Done);
    sql("UPDATE qso SET flag = '*' WHERE recno = 1");
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    const HamlogHandle shown = h;
    stage(QStringLiteral("QQ1AAA"), QStringLiteral("Taro Yamada"));
    ASSERT_EQ(THW_update(h, shown, 1, 16, 17), Done);
    EXPECT_EQ(Vdbf_rcount(h), 2);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    EXPECT_EQ(field(FieldName).trimmed(), QStringLiteral("Taro Yamada"));
    EXPECT_EQ(field(FieldFlag), QStringLiteral("*"));
    ASSERT_EQ(THW_read(h, 2, 3), Done);
    EXPECT_EQ(field(FieldName).trimmed(), QStringLiteral("Jiro"));
    for (int recNo : {0, 3}) {
        stage(QStringLiteral("QQ9ZZZ"));
        EXPECT_EQ(THW_update(h, shown, recNo, 16, 17), NoSuchRecord) << recNo;
    }
    EXPECT_EQ(Vdbf_rcount(h), 2);
}

TEST_F(HamlogLogTest, ConfirmationAsksTheOperatorAndADeclineStoresNothing) {
    struct Case {
        const char* what;
        bool update;
        ui::MsgResult answer;
        int result;
        QString nameAfter;
    } cases[] = {
        {"append declined", false, ui::No, Done, {}},
        {"append agreed", false, ui::Yes, Done, QStringLiteral("Hanako")},
        {"update declined", true, ui::No, Declined, QStringLiteral("Taro")},
        {"update agreed", true, ui::Yes, Done, QStringLiteral("Hanako")},
    };
    for (const Case& c : cases) {
        HamlogClose(h, 0);
        QFile::remove(dataPath() + ".HDB");
        ASSERT_TRUE(createLog(dataPath()));
        ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
        if (c.update) {
            ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro")), Done);
        }
        const int before = Vdbf_rcount(h);
        ui::script::clearAsked();
        ui::script::push(c.answer);
        stage(QStringLiteral("QQ1AAA"), QStringLiteral("Hanako"));
        const int result = c.update ? THW_update(h, h, 1, 16, 0) : THW_append(h, 16, 1);
        EXPECT_EQ(result, c.result) << c.what;
        ASSERT_EQ(ui::script::asked().size(), 1) << c.what;
        EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("QQ1AAA"))) << c.what;
        const bool added = !c.update && c.answer == ui::Yes;
        EXPECT_EQ(Vdbf_rcount(h), before + (added ? 1 : 0)) << c.what;
        if (!c.nameAfter.isEmpty()) {
            ASSERT_EQ(THW_read(h, 1, 3), Done);
            EXPECT_EQ(field(FieldName).trimmed(), c.nameAfter) << c.what;
        }
    }
    // Without confirmation nothing is asked.
    ui::script::clearAsked();
    EXPECT_EQ(append(QStringLiteral("QQ2BBB")), Done);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

TEST_F(HamlogLogTest, AStoreThatFailsIsReportedAsAFailure) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro")), Done);
    sql("CREATE TRIGGER refuse_insert BEFORE INSERT ON qso BEGIN SELECT RAISE(ABORT, 'disk full'); END;"
        "CREATE TRIGGER refuse_update BEFORE UPDATE ON qso BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(append(QStringLiteral("QQ2BBB")), StoreFailed);
    EXPECT_EQ(Vdbf_rcount(h), 1);
    stage(QStringLiteral("QQ1AAA"), QStringLiteral("Changed"));
    EXPECT_EQ(THW_update(h, h, 1, 16, 17), StoreFailed);
    ASSERT_EQ(THW_read(h, 1, 3), Done);
    EXPECT_EQ(field(FieldName).trimmed(), QStringLiteral("Taro"));
    // The log is still usable once the store takes writes again.
    sql("DROP TRIGGER refuse_insert; DROP TRIGGER refuse_update;");
    EXPECT_EQ(append(QStringLiteral("QQ2BBB")), Done);
    EXPECT_EQ(Vdbf_rcount(h), 2);
}

// A log the operator made read-only for a while and writable again is written
// again, with nothing of the read-only time to remove by hand.
TEST_F(HamlogLogTest, ALogWritableAgainIsWrittenAgain) {
    QTemporaryDir own;
    ASSERT_TRUE(own.isValid());
    const QString folder = own.path();
    const QString data = folder + QStringLiteral("/HAMLOG");
    ASSERT_TRUE(createLog(data));
    const QByteArray file = QFile::encodeName(data + QStringLiteral(".HDB"));
    zvtest::asUnprivilegedUser(folder, [&] {
        HamlogHandle log;
        const auto store = [&](const QString& call) {
            EXPECT_EQ(HamlogOpen(0, log, data, 0), Done);
            for (const FieldSpec& f : kFields)
                if (f.no != FieldFlag) SetThBuffer(log, QString(f.width, QLatin1Char(' ')), f.no);
            SetThBuffer(log, call, FieldCall);
            const int result = THW_append(log, 16, 0);
            HamlogClose(log, 0);
            return result;
        };
        EXPECT_EQ(store(QStringLiteral("QQ1AAA")), Done);
        ASSERT_EQ(::chmod(file.constData(), 0444), 0);
        EXPECT_NE(store(QStringLiteral("QQ2BBB")), Done);
        ASSERT_EQ(::chmod(file.constData(), 0644), 0);
        EXPECT_EQ(store(QStringLiteral("QQ3CCC")), Done);
        EXPECT_EQ(store(QStringLiteral("QQ4DDD")), Done);
        ASSERT_EQ(HamlogOpen(0, log, data, 0), Done);
        EXPECT_EQ(Vdbf_rcount(log), 3);
        HamlogClose(log, 0);
    });
}

TEST_F(HamlogLogTest, JapaneseTextIsKeptWholeWithinTheByteWidths) {
    const QString kanji = QStringLiteral("山");
    struct Case {
        int field;
        QString written;
        QString stored; // without the padding
    } cases[] = {
        {FieldName, QStringLiteral("山田太郎"), QStringLiteral("山田太郎")},
        {FieldName, kanji.repeated(32), kanji.repeated(32)},
        {FieldName, kanji.repeated(33), kanji.repeated(32)},
        {FieldName, QStringLiteral("A") + kanji.repeated(32), QStringLiteral("A") + kanji.repeated(31)},
        {FieldQth, QStringLiteral("東京都八王子市ｱｲｳ"), QStringLiteral("東京都八王子市ｱｲｳ")},
        {FieldQth, QStringLiteral("x") + kanji.repeated(64), QStringLiteral("x") + kanji.repeated(63)},
        {FieldRem1, QStringLiteral("ｶﾅ").repeated(200), QStringLiteral("ｶﾅ").repeated(127)},
        {FieldCall, QStringLiteral("QQ1AAA/1234567890ABCDEF"), QStringLiteral("QQ1AAA/1234567890ABC")},
    };
    for (const Case& c : cases) {
        stage(QStringLiteral("QQ1AAA"));
        SetThBuffer(h, c.written, c.field);
        ASSERT_EQ(THW_append(h, 16, 0), Done);
        ASSERT_EQ(THW_read(h, Vdbf_rcount(h), 3), Done);
        const QString read = field(c.field);
        EXPECT_EQ(cp932::byteLength(read), fieldWidth(c.field)) << c.written.toStdString();
        EXPECT_EQ(read.trimmed(), c.stored) << c.written.toStdString();
        EXPECT_FALSE(read.contains(QChar(0xFFFD)));
    }
}

TEST_F(HamlogLogTest, FieldsReadIntoOneBufferComeOutWholeAndPadded) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("山田"), QStringLiteral("八王子市")), Done);
    // Another program stores fields longer than the record keeps, and blanks at their end.
    sql("INSERT INTO qso VALUES (2, 'QQ2BBB/1234567890ABCDEF', '24-01-16', '', '', '', '', '', '', '', '',"
        " 'Jiro   ', '', '', '', '')");
    const QString kanji = QStringLiteral("山");
    sql(QStringLiteral("UPDATE qso SET qth = '%1', rem1 = 'x%2' WHERE recno = 2")
            .arg(kanji.repeated(70), kanji.repeated(130))
            .toUtf8()
            .constData());
    // Bytes that are no UTF-8, stored as such by another program.
    sql("INSERT INTO qso VALUES (3, 'QQ3CCC', '24-01-17', '', '', '', '', '', '', '', '', X'4A69FF726F',"
        " '', '', '', '')");
    const auto padded = [](const QString& text, int bytes) {
        return text + QString(bytes - cp932::byteLength(text), QLatin1Char(' '));
    };
    const struct {
        int recNo;
        int field;
        QString read;
    } cases[] = {
        {1, FieldCall, padded(QStringLiteral("QQ1AAA"), 20)},
        {1, FieldName, padded(QStringLiteral("山田"), 64)},
        {1, FieldQth, padded(QStringLiteral("八王子市"), 128)},
        {1, FieldDate, QStringLiteral("24-01-15")},
        {2, FieldCall, QStringLiteral("QQ2BBB/1234567890ABC")},
        {2, FieldName, padded(QStringLiteral("Jiro"), 64)},
        {2, FieldQth, kanji.repeated(64)},
        {2, FieldRem1, QStringLiteral("x") + kanji.repeated(126) + QLatin1Char(' ')},
        {1, FieldHis, padded(QString(), fieldWidth(FieldHis))},
        {3, FieldName, padded(QStringLiteral("Ji\uFFFDro"), 64)},
        {1, FieldName, padded(QStringLiteral("山田"), 64)},
    };
    QString buffer = QStringLiteral("left over from before, longer than a call");
    QString before = buffer;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recNo << " " << c.field);
        ASSERT_EQ(THW_read(h, c.recNo, 3), Done);
        const QString kept = buffer; // shares the buffer's text
        EXPECT_EQ(ThwString(buffer, h, c.field), Done);
        EXPECT_EQ(buffer, c.read);
        EXPECT_EQ(cp932::byteLength(buffer), fieldWidth(c.field));
        EXPECT_EQ(kept, before) << "a text that shared the buffer keeps its own";
        before = c.read;
    }
}

TEST_F(HamlogLogTest, CallIndexWalkFindsTheCallAndWalksOnInCallOrder) {
    const char* calls[] = {"QQ9ABC/P", "QQ9AB", "QQ9ABC", "QQ1ZZZ", "QQ9ABC", "QQ9ABD", "QQ9AB"};
    for (const char* call : calls)
        ASSERT_EQ(append(QString::fromLatin1(call)), Done);
    struct Case {
        const char* call;
        std::vector<int> walk; // record numbers from the search to the end of the index
    } cases[] = {
        {"QQ9ABC", {3, 5, 1, 6}},
        {"QQ9AB", {2, 7, 3, 5, 1, 6}},
        {"QQ9ABC/P", {1, 6}},
        {"QQ1ZZZ", {4, 2, 7, 3, 5, 1, 6}},
        {"QQ9A", {2, 7, 3, 5, 1, 6}},
        {"QQ9ABC/", {1, 6}},
        {"QQ9ABCD", {}},
        {"QQ8", {}},
        {"", {}},
        {"qq9abc", {}},
    };
    for (const Case& c : cases) {
        std::vector<int> walk;
        for (int recNo = Vidx_search(h, QString::fromLatin1(c.call), 16); recNo > 0;
             recNo = Vidx_next(h, 16)) {
            walk.push_back(recNo);
            // Reading a record on the way does not disturb the walk.
            ASSERT_EQ(THW_read(h, recNo, 3), Done);
        }
        EXPECT_EQ(walk, c.walk) << c.call;
        EXPECT_EQ(Vidx_next(h, 16), 0) << c.call;
    }
}

TEST_F(HamlogLogTest, AWalkGoesOnAfterACountOrAWriteOnTheWay) {
    for (const char* call : {"QQ1AAA", "QQ1AAA", "QQ2BBB"})
        ASSERT_EQ(append(QString::fromLatin1(call)), Done);
    ASSERT_EQ(Vidx_search(h, QStringLiteral("QQ1AAA"), 16), 1);
    EXPECT_EQ(Vdbf_rcount(h), 3);
    EXPECT_EQ(Vidx_next(h, 16), 2);
    ASSERT_EQ(append(QStringLiteral("QQ1AAA")), Done);
    EXPECT_EQ(Vidx_next(h, 16), 4) << "the record stored on the way is in the index";
    EXPECT_EQ(Vidx_next(h, 16), 3);
    EXPECT_EQ(Vidx_next(h, 16), 0);
}

// A record read where the walk stands comes whole, from its own row, whether
// the walk's pass still stands there or a count or a write ended it on the way;
// a record the walk has passed reads as any other.
TEST_F(HamlogLogTest, ARecordReadOnTheWalkIsThatRecordWhole) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro"), QStringLiteral("東京都")), Done);
    ASSERT_EQ(append(QStringLiteral("QQ2BBB"), QStringLiteral("Jiro"), QStringLiteral("大阪府")), Done);
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Saburo"), QStringLiteral("京都府")), Done);
    const auto expectRecord = [this](int recNo, const char* name, const QString& qth) {
        ASSERT_EQ(THW_read(h, recNo, 3), Done);
        EXPECT_EQ(field(FieldName).trimmed(), QLatin1String(name)) << recNo;
        EXPECT_EQ(field(FieldQth).trimmed(), qth) << recNo;
        EXPECT_EQ(field(FieldDate), QStringLiteral("24-01-15")) << recNo;
    };
    ASSERT_EQ(Vidx_search(h, QStringLiteral("QQ1AAA"), 16), 1);
    expectRecord(1, "Taro", QStringLiteral("東京都"));
    ASSERT_EQ(Vidx_next(h, 16), 3);
    EXPECT_EQ(Vdbf_rcount(h), 3);
    expectRecord(3, "Saburo", QStringLiteral("京都府"));
    ASSERT_EQ(Vidx_next(h, 16), 2);
    expectRecord(1, "Taro", QStringLiteral("東京都"));
    expectRecord(2, "Jiro", QStringLiteral("大阪府"));
    EXPECT_EQ(Vidx_next(h, 16), 0);
}

TEST_F(HamlogLogTest, AnOpenAfterACloseSeesTheLogAsItIsOnDisk) {
    ASSERT_EQ(append(QStringLiteral("QQ1AAA"), QStringLiteral("Taro")), Done);
    HamlogClose(h, 0);

    // Another program stores a QSO while the log is closed here.
    sql("INSERT INTO qso VALUES (2, 'QQ2BBB', '24-01-16', '', '', '', '', '', '', '', '', 'Jiro', '', '', '',"
        " '')");
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(Vdbf_rcount(h), 2);
    EXPECT_EQ(Vidx_search(h, QStringLiteral("QQ2BBB"), 16), 2);
    HamlogClose(h, 0);
    // Look-ups that write nothing take up the kept connection.
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
        EXPECT_EQ(Vidx_search(h, QStringLiteral("QQ1AAA"), 16), 1);
        HamlogClose(h, 0);
    }

    // The log is replaced on disk by another one, copied as a file: a closed log
    // holds every QSO in its one file.
    const QString other = path(QStringLiteral("OTHER"));
    ASSERT_TRUE(createLog(other));
    HamlogHandle o;
    ASSERT_EQ(HamlogOpen(0, o, other, 0), Done);
    for (const char* call : {"QQ7XXX", "QQ8YYY", "QQ9ZZZ"}) {
        SetThBuffer(o, QString::fromLatin1(call), FieldCall);
        ASSERT_EQ(THW_append(o, 16, 0), Done);
    }
    HamlogClose(o, 0);
    ASSERT_TRUE(QFile::remove(dataPath() + ".HDB"));
    ASSERT_TRUE(QFile::rename(other + ".HDB", dataPath() + ".HDB"));
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(Vdbf_rcount(h), 3);
    EXPECT_EQ(Vidx_search(h, QStringLiteral("QQ1AAA"), 16), 0);
    EXPECT_EQ(Vidx_search(h, QStringLiteral("QQ9ZZZ"), 16), 3);
    HamlogClose(h, 0);

    // A log gone from disk does not open.
    ASSERT_TRUE(QFile::remove(dataPath() + ".HDB"));
    EXPECT_EQ(HamlogOpen(0, h, dataPath(), 0), NoSuchLog);
}

TEST_F(HamlogLogTest, AWriterKilledInTheMiddleOfAppendingLeavesEveryCommittedQso) {
    HamlogClose(h, 0);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        // The writer tells the test the number of each QSO once it is stored.
        close(report[0]);
        HamlogHandle w;
        if (HamlogOpen(0, w, dataPath(), 0) != Done) _exit(1);
        for (int n = 1;; ++n) {
            SetThBuffer(w, QStringLiteral("QQ%1K").arg(n), FieldCall);
            SetThBuffer(w, QStringLiteral("記録%1").arg(n), FieldRem1);
            if (THW_append(w, 16, 0) != Done) _exit(2);
            if (write(report[1], &n, sizeof n) != static_cast<ssize_t>(sizeof n)) _exit(3);
        }
    }
    close(report[1]);
    int committed = 0;
    while (committed < 40)
        ASSERT_EQ(read(report[0], &committed, sizeof committed), static_cast<ssize_t>(sizeof committed));
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    int n = 0;
    while (read(report[0], &n, sizeof n) == static_cast<ssize_t>(sizeof n))
        committed = n;
    close(report[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    const int count = Vdbf_rcount(h);
    EXPECT_GE(count, committed);
    EXPECT_LE(count, committed + 1); // the write in progress is whole or absent
    for (int recNo = 1; recNo <= count; ++recNo) {
        ASSERT_EQ(THW_read(h, recNo, 3), Done) << recNo;
        EXPECT_EQ(field(FieldCall).trimmed(), QStringLiteral("QQ%1K").arg(recNo));
        EXPECT_EQ(field(FieldRem1).trimmed(), QStringLiteral("記録%1").arg(recNo));
    }
    EXPECT_EQ(append(QStringLiteral("QQ1AFTER")), Done);
    EXPECT_EQ(Vdbf_rcount(h), count + 1);
}

TEST(HamlogLibrary, VersionPassesTheStartUpGateAndTestsCanSetAnother) {
    EXPECT_EQ(GetThdllVersion(), 0x50300);
    setThdllVersionForTest(0x50200);
    EXPECT_EQ(GetThdllVersion(), 0x50200);
    setThdllVersionForTest(0x50300);
    EXPECT_EQ(SetQsoOrMaster(1), Done);
    EXPECT_NE(SetQsoOrMaster(0), Done);
}

} // namespace
