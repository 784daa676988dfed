// Whole-file writes through symbolic links and onto read-only files, on real
// files; the paths that the superuser would take differently run in a child
// that has dropped to an ordinary user.
#include "platform/os/AtomicFile.h"
#include "platform/profile/ProfileFile.h"
#include "support/ProgramFolder.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kOld("[PSKCFG]\r\nUSERCALL=JA1ZZZ\r\n");
const QByteArray kNew("[PSKCFG]\r\nUSERCALL=JA9XYZ\r\n");

class ProtectedFiles : public zvtest::ProgramFolderTest {
  protected:
    QString link() const { return path(QStringLiteral("ZORVATEK.INI")); }
    void makeLink(const QString& target) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link()).constData()), 0);
    }
    mode_t modeOf(const QString& p) const {
        struct stat st {};
        ::stat(QFile::encodeName(p).constData(), &st);
        return st.st_mode & 07777;
    }
    // Temporary files left beside a file that was (or was not) replaced.
    QStringList leftovers(const QString& sub) const {
        return QDir(path(sub)).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(ProtectedFiles, AWriteGoesThroughTheLinkAndKeepsIt) {
    QDir(folder()).mkpath(QStringLiteral("store/deeper"));
    struct Case {
        const char* what;
        QString linkText; // what the link says, relative to the program folder or absolute
        QString target;   // the file that must receive the bytes
    } cases[] = {
        {"absolute", path(QStringLiteral("store/REAL.INI")), path(QStringLiteral("store/REAL.INI"))},
        {"relative", QStringLiteral("store/REAL.INI"), path(QStringLiteral("store/REAL.INI"))},
        {"chain of two", QStringLiteral("store/HOP.INI"), path(QStringLiteral("store/deeper/END.INI"))},
    };
    ASSERT_EQ(
        ::symlink("deeper/END.INI", QFile::encodeName(path(QStringLiteral("store/HOP.INI"))).constData()), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(link());
        writeFile(QDir(folder()).relativeFilePath(c.target), kOld);
        makeLink(c.linkText);
        EXPECT_EQ(files::writeTarget(link()), c.target);

        ASSERT_TRUE(profile::writeString("PSKCFG", "USERCALL", "JA9XYZ", link()));
        EXPECT_TRUE(QFileInfo(link()).isSymLink()) << "the link stays a link";
        EXPECT_EQ(readFile(QDir(folder()).relativeFilePath(c.target)), kNew);
        EXPECT_EQ(profile::getString("PSKCFG", "USERCALL", "-", link()), QStringLiteral("JA9XYZ"));
    }
    for (const char* sub : {".", "store", "store/deeper"})
        EXPECT_EQ(leftovers(QString::fromLatin1(sub)), QStringList()) << sub;
}

TEST_F(ProtectedFiles, ALinkToNothingYetCreatesItsTarget) {
    QDir(folder()).mkpath(QStringLiteral("store"));
    makeLink(QStringLiteral("store/LATER.INI"));
    ASSERT_TRUE(profile::writeString("PSKCFG", "USERCALL", "JA9XYZ", link()));
    EXPECT_TRUE(QFileInfo(link()).isSymLink());
    EXPECT_EQ(readFile(QStringLiteral("store/LATER.INI")), kNew);
}

TEST_F(ProtectedFiles, ALoopOfLinksIsNeverReplaced) {
    ASSERT_EQ(::symlink("B.INI", QFile::encodeName(path(QStringLiteral("A.INI"))).constData()), 0);
    ASSERT_EQ(::symlink("A.INI", QFile::encodeName(path(QStringLiteral("B.INI"))).constData()), 0);
    EXPECT_FALSE(files::replaceWhole(path(QStringLiteral("A.INI")), kNew));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("A.INI"))).isSymLink());
}

// As root this is the mode-bits path: access() alone would allow the write.
TEST_F(ProtectedFiles, AReadOnlyFileIsKeptWhateverTheUser) {
    QDir(folder()).mkpath(QStringLiteral("store"));
    writeFile(QStringLiteral("store/REAL.INI"), kOld);
    for (const QString& name : {link(), path(QStringLiteral("store/REAL.INI"))}) {
        SCOPED_TRACE(name.toStdString());
        QFile::remove(link());
        if (name == link()) makeLink(path(QStringLiteral("store/REAL.INI")));
        ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("store/REAL.INI"))).constData(), 0444), 0);

        EXPECT_FALSE(files::mayReplace(name));
        EXPECT_FALSE(profile::writeString("PSKCFG", "USERCALL", "JA9XYZ", name));
        EXPECT_EQ(readFile(QStringLiteral("store/REAL.INI")), kOld);
        EXPECT_EQ(modeOf(path(QStringLiteral("store/REAL.INI"))), mode_t(0444));
        // Writing what the file already holds is no change, and so no failure.
        EXPECT_TRUE(profile::writeString("PSKCFG", "USERCALL", "JA1ZZZ", name));
    }
    EXPECT_EQ(leftovers(QStringLiteral("store")), QStringList());
}

TEST_F(ProtectedFiles, AnotherUsersFileInAnOpenFolderIsKept) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can hand a file to another user";
    // A folder everyone may write, holding root's file: the rename alone
    // would succeed for anyone.
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 0777), 0);
    const QString ini = shared.path() + QStringLiteral("/ZORVATEK.INI");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kOld);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(ini).constData(), 0644), 0);

    QTemporaryDir own;
    zvtest::asUnprivilegedUser(own.path(), [&] {
        EXPECT_FALSE(files::mayReplace(ini));
        EXPECT_FALSE(profile::writeString("PSKCFG", "USERCALL", "JA9XYZ", ini));
        // The user's own file beside it is written as usual.
        const QString mine = own.path() + QStringLiteral("/MINE.INI");
        EXPECT_TRUE(profile::writeString("PSKCFG", "USERCALL", "JA9XYZ", mine));
        EXPECT_EQ(profile::getString("PSKCFG", "USERCALL", "-", mine), QStringLiteral("JA9XYZ"));
    });
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kOld);
    EXPECT_EQ(QFileInfo(ini).ownerId(), 0u) << "still root's file";
    EXPECT_EQ(QDir(shared.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("ZORVATEK.INI")});
}

TEST_F(ProtectedFiles, ABrokenShiftJisValueWrittenBackKeepsItsBytes) {
    const QByteArray broken("[S]\r\nK=ab\x82\r\nL=\x82\xA0\x82\r\n");
    writeFile(QStringLiteral("TEST.INI"), broken);
    const QString ini = path(QStringLiteral("TEST.INI"));
    for (const char* key : {"K", "L", "k"}) {
        SCOPED_TRACE(key);
        const QString read = profile::getString("S", key, "-", ini);
        ASSERT_TRUE(profile::writeString("S", key, read, ini));
        EXPECT_EQ(readFile(QStringLiteral("TEST.INI")), broken);
    }
    // A different value still replaces the line.
    ASSERT_TRUE(profile::writeString("S", "K", "abc", ini));
    EXPECT_EQ(readFile(QStringLiteral("TEST.INI")), QByteArray("[S]\r\nK=abc\r\nL=\x82\xA0\x82\r\n"));
}

} // namespace
