// The demo-log program as the operator starts it from a terminal.
#include "support/ProgramFolder.h"

#include <QDir>
#include <QProcess>

namespace {

class HamlogDemoProgram : public zvtest::ProgramFolderTest {
  protected:
    struct Run {
        int code = -1;
        QString out, err;
    };
    // Runs hamlogdemo in the program folder, which is also its current folder.
    Run run(const QStringList& args) {
        QProcess program;
        program.setWorkingDirectory(folder());
        program.start(qEnvironmentVariable("ZV_PROGRAM_DIR") + QStringLiteral("/hamlogdemo"), args);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                QString::fromLocal8Bit(program.readAllStandardOutput()),
                QString::fromLocal8Bit(program.readAllStandardError())};
    }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
};

TEST_F(HamlogDemoProgram, OptionsItDoesNotKnowGetTheUsageAndNoFiles) {
    const Run help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("Usage:"))) << help.out.toStdString();
    EXPECT_EQ(files(), QStringList{});

    const struct {
        QStringList args;
        const char* said;
    } refused[] = {{{QStringLiteral("--bogus")}, "'bogus'"},
                   {{QStringLiteral("-x"), QStringLiteral("A.HDB")}, "'x'"},
                   {{QStringLiteral("A.HDB"), QStringLiteral("B.HDB")}, "only one log path"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.args.join(' ').toStdString());
        const Run bad = run(r.args);
        EXPECT_EQ(bad.code, 2);
        EXPECT_TRUE(bad.err.contains(QString::fromLatin1(r.said))) << bad.err.toStdString();
        EXPECT_TRUE(bad.err.contains(QStringLiteral("Usage:")));
        EXPECT_EQ(files(), QStringList{});
    }

    // A plain path still writes the log and its master data, in that folder.
    const Run good = run({QStringLiteral("MYLOG.HDB")});
    EXPECT_EQ(good.code, 0) << good.err.toStdString();
    EXPECT_TRUE(files().contains(QStringLiteral("MYLOG.HDB")));
    EXPECT_TRUE(files().contains(QStringLiteral("MYLOG.dx4")));
}

} // namespace
