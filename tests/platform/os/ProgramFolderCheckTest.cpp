// A program folder that cannot hold the settings stops the program with a word
// to the operator, never silently and never with a run that loses them.
#include "app/ProgramRun.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Paths.h"
#include "support/ProgramFolder.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class ProgramFolderCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousHome = qgetenv("ZORVATEK_HOME");
        ui::script::begin();
        ui::script::clearAsked();
    }
    void TearDown() override {
        ui::script::end();
        qputenv("ZORVATEK_HOME", previousHome);
    }
    QString at(const QString& name) const { return dir.filePath(name); }
    void makeFile(const QString& name) const {
        QFile f(at(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[PSKCFG]\r\n");
    }

    QTemporaryDir dir;
    QByteArray previousHome;
};

TEST_F(ProgramFolderCheck, FoldersThatCanAndCannotHoldTheSettings) {
    makeFile(QStringLiteral("file"));
    QDir(dir.path()).mkpath(QStringLiteral("ini-folder/ZORVATEK.INI"));
    QDir(dir.path()).mkpath(QStringLiteral("used"));
    makeFile(QStringLiteral("used/ZORVATEK.INI"));
    const struct {
        QString folder;
        const char* problem; // nullptr: usable
    } cases[] = {
        {at(QStringLiteral("new/deeper")), nullptr},
        {at(QStringLiteral("used")), nullptr},
        {dir.path(), nullptr},
        {at(QStringLiteral("file")), "同じ名前のファイルがあり、フォルダにできません"},
        {at(QStringLiteral("file/sub")), "フォルダを作成できません"},
        {QStringLiteral("/proc/zorvatek-program-folder"), "フォルダを作成できません"},
        {at(QStringLiteral("ini-folder")), "ZORVATEK.INI がファイルではありません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const std::optional<QString> problem = paths::programFolderProblem(c.folder);
        if (!c.problem) {
            EXPECT_FALSE(problem) << problem.value_or(QString()).toStdString();
            EXPECT_TRUE(QFileInfo(c.folder).isDir()) << "a missing folder is created";
        } else {
            EXPECT_EQ(problem.value_or(QStringLiteral("(usable)")), QString::fromUtf8(c.problem));
        }
    }
    EXPECT_EQ(QDir(at(QStringLiteral("used"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("ZORVATEK.INI")})
        << "the check leaves nothing behind";
}

TEST_F(ProgramFolderCheck, AReadOnlyFolderOrAnUnreadableIniCannotHoldTheSettings) {
    QDir(dir.path()).mkpath(QStringLiteral("ro"));
    QFile::setPermissions(at(QStringLiteral("ro")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    makeFile(QStringLiteral("ZORVATEK.INI"));
    QFile::setPermissions(at(QStringLiteral("ZORVATEK.INI")), QFileDevice::WriteOwner);
    // The superuser writes into read-only folders and reads any file.
    zvtest::asUnprivilegedUser(dir.path(), [&] {
        EXPECT_EQ(paths::programFolderProblem(at(QStringLiteral("ro"))),
                  QStringLiteral("フォルダに書き込めません"));
        EXPECT_EQ(paths::programFolderProblem(dir.path()), QStringLiteral("ZORVATEK.INI を読み込めません"));
    });
    QFile::setPermissions(at(QStringLiteral("ro")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(ProgramFolderCheck, TheRunIsRefusedWithAMessageNamingTheFolderAndAnExitCode) {
    makeFile(QStringLiteral("file"));
    qputenv("ZORVATEK_HOME", at(QStringLiteral("file")).toUtf8());
    EXPECT_EQ(app::run(), app::kUnusableProgramFolderExit);
    ASSERT_EQ(ui::script::asked().size(), 1);
    const ui::Asked& box = ui::script::asked().front();
    EXPECT_EQ(box.kind, QStringLiteral("msgBox"));
    EXPECT_TRUE(box.prompt.contains(at(QStringLiteral("file")))) << box.prompt.toStdString();
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("同じ名前のファイルがあり"))) << box.prompt.toStdString();
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("ZORVATEK を終了します")));
    EXPECT_EQ(box.style & 0x70, int(ui::Critical));

    ui::script::clearAsked();
    qputenv("ZORVATEK_HOME", at(QStringLiteral("fine")).toUtf8());
    EXPECT_EQ(app::refuseUnusableProgramFolder(), std::nullopt);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

TEST_F(ProgramFolderCheck, TheProgramNeverEndsSilentlyOnAFolderItCannotUse) {
    // The real program on a folder with a file in its way: it reports why and
    // waits for the operator at its message box, the last step before it ends.
    makeFile(QStringLiteral("file"));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORVATEK_HOME"), at(QStringLiteral("file")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("ZV_PROGRAM_DIR") + QStringLiteral("/zorvatek"), {});
    ASSERT_TRUE(program.waitForStarted(zvtest::kSafetyNetMsecs));
    QString said;
    const bool reported = zvtest::waitUntil([&] {
        said += QString::fromUtf8(program.readAllStandardError());
        return said.contains(QStringLiteral("が使えません")) || program.state() == QProcess::NotRunning;
    });
    EXPECT_TRUE(reported);
    EXPECT_EQ(program.state(), QProcess::Running)
        << "ended with code " << program.exitCode() << " without a word: " << said.toStdString();
    EXPECT_TRUE(said.contains(at(QStringLiteral("file")))) << said.toStdString();
    program.kill();
    program.waitForFinished(zvtest::kSafetyNetMsecs);
}

} // namespace
