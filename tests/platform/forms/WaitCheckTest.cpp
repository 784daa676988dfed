// The check that every wait goes through its owner: a wait is found however
// it is spelt and whatever the file's name ends in, and a file the check
// cannot read fails it; what only looks like one (a comment, another name,
// the owner itself) passes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <string_view>

namespace {

using namespace std::string_view_literals;

struct Checked {
    int exitCode;
    QString said;
};

Checked checkWaitsIn(const QTemporaryDir& src) {
    QProcess check;
    check.start(QStringLiteral("perl"), {QStringLiteral(ZV_SOURCE_DIR "/scripts/check-waits"), src.path()});
    if (!check.waitForFinished(60'000)) return {-1, {}};
    return {check.exitCode(), QString::fromUtf8(check.readAllStandardError())};
}

// The check run over a source tree holding only this file.
Checked checkWaits(const QString& file, std::string_view text) {
    QTemporaryDir src;
    const QString path = src.filePath(file);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.data(), qint64(text.size())) != qint64(text.size()))
        return {-1, {}};
    f.close();
    return checkWaitsIn(src);
}

TEST(WaitCheck, AWaitIsFoundHoweverItIsSpelt) {
    struct Case {
        const char* file;
        std::string_view text;
    } cases[] = {
        {"log/A.cpp", "void f(QDialog& d) { d.exec (); }"},
        {"log/A.cpp", "void f(QDialog& d) { QMetaObject::invokeMethod(&d, \"exec\"); }"},
        {"log/A.cpp", "void f(QDialog* d) { std::invoke(&QDialog::exec, d); }"},
        {"log/A.cpp", "void f(QDialog& d) {\n    d\n        .exec();\n}"},
        {"log/A.cpp", "void f() { QProgressDialog p; p.setWindowModality(Qt::WindowModal); p.setValue(3); }"},
        {"log/A.cpp", "void f() { QMessageBox\n    ::\n    warning(nullptr, {}, {}); }"},
        {"log/A.cpp", "void f() { QFileDialog::getOpenFileName(); }"},
        {"log/A.cpp", "void f() { QCoreApplication::\\\nprocessEvents(); }"},
        {"log/A.cpp", "void f(QEventLoop& l) { auto u = \"http://\"; l.exec(); }"},
        {"log/A.cpp", "void f(QProcess& p) { p.waitForFinished(5000); }"},
        {"log/A.cpp", "void f(QLocalSocket& s) { s.waitForReadyRead(5000); }"},
        {"rig/A.hpp", "inline void f(QEventLoop& l) { l.exec(); }"},
        {"rig/A.cc", "void f(QMenu& m) { m.exec(QPoint()); }"},
        {"rig/A.inl", "QCoreApplication::sendPostedEvents();"},
        {"rig/A.h", "inline void f() { QCoreApplication::processEvents(); }"},
        {"log/A.cpp", "void f() { QMessageBox::aboutQt(nullptr); }"},
        {"log/A.cpp", "void f(QMessageBox& b) { b.warning(nullptr, {}, {}); }"},
        {"log/A.cpp", "using Box = QMessageBox;\nvoid f() { Box::critical(nullptr, {}, {}); }"},
        {"log/A.cpp", "void f(QFileDialog& d) { d.getExistingDirectory(); }"},
        {"log/A.cpp", "int f(QInputDialog& d) { return d.getInt(nullptr, {}, {}); }"},
        {"log/A.cpp", "QColor f(QColorDialog& d) { return d.getColor(); }"},
        {"log/A.cpp", "QFont f(QFontDialog& d, bool* ok) { return d.getFont(ok); }"},
        {"log/A.cpp", "void f() { g_main_context_iteration(nullptr, 1); }"},
        {"log/A.cpp", "int f() { return QProcess::execute(\"ls\", {}); }"},
        {"log/A.cpp", "#define JOIN(a, b) a##b\nvoid f() { QCoreApplication::JOIN(process, Events)(); }"},
        {"log/A.cpp", "void f(QDialog& d) { QMetaObject::invokeMethod(&d, \"ex\"\n \"ec\"); }"},
        {"log/A.cpp", "int n = 1'000; auto u = \"'/*\"; void f(QDialog& d) { d.exec(); } auto v = \"*/\";"},
        {"log/A.cpp", "void f(QDialog& d) { d.ex\0ec(); }"sv},
        {"log/A.cpp", "void f() {}\0\nvoid g(QDialog& d) { d.exec(); }"sv},
        {"platform/forms/dialogs/Waits.cpp", "int f(QDialog& d) { return d.exec(); }"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const Checked checked = checkWaits(QString::fromLatin1(c.file), c.text);
        EXPECT_EQ(checked.exitCode, 1);
        EXPECT_TRUE(checked.said.contains(QStringLiteral("src/") + QString::fromLatin1(c.file) + ':'))
            << checked.said.toStdString();
    }
    // A file that cannot be read could hold any wait.
    QTemporaryDir src;
    QDir().mkpath(src.filePath(QStringLiteral("log")));
    ASSERT_TRUE(
        QFile::link(src.filePath(QStringLiteral("gone.cpp")), src.filePath(QStringLiteral("log/A.cpp"))));
    const Checked unread = checkWaitsIn(src);
    EXPECT_EQ(unread.exitCode, 1);
    EXPECT_TRUE(unread.said.contains(QStringLiteral("src/log/A.cpp: cannot be read")))
        << unread.said.toStdString();
}

TEST(WaitCheck, WhatOnlyLooksLikeAWaitPasses) {
    struct Case {
        const char* file;
        std::string_view text;
    } cases[] = {
        {"log/A.cpp", "// d.exec() would let events run\nvoid f() {}"},
        {"log/A.cpp", "/* QCoreApplication::processEvents();\n   loop.exec(); */\nvoid f() {}"},
        {"log/A.cpp", "bool f(sqlite3* db) { return sqlite3_exec(db, \"\", 0, 0, 0) == 0; }"},
        {"log/A.cpp", "int f(QDialog& d) { return forms::execModal(d); }"},
        {"log/A.cpp", "bool f(QProcess& p) { return forms::waitUntil([&] { return p.atEnd(); }, 10); }"},
        {"log/A.cpp", "const char* u = \"http://example\"; // exec()"},
        {"log/A.cpp", "void warning(int);\nQColor getColor();\nint n = 1'000'000; // exec()\nchar c = 'x';"},
        {"platform/forms/waits/Waits.cpp", "int f(QDialog& d) { return d.exec(); }"},
        {"platform/programs/x/main.cpp", "int main() { return QCoreApplication::exec(); }"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const Checked checked = checkWaits(QString::fromLatin1(c.file), c.text);
        EXPECT_EQ(checked.exitCode, 0) << checked.said.toStdString();
    }
}

} // namespace
