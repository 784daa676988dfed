// The check that every wait goes through its owner: a wait is found however
// it is spelt and whatever the file's name ends in; what only looks like one
// (a comment, another name, the owner itself) passes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Checked {
    int exitCode;
    QString said;
};

// The check run over a source tree holding only this file.
Checked checkWaits(const QString& file, const QByteArray& text) {
    QTemporaryDir src;
    const QString path = src.filePath(file);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return {-1, {}};
    f.close();
    QProcess check;
    check.start(QStringLiteral("perl"), {QStringLiteral(ZV_SOURCE_DIR "/scripts/check-waits"), src.path()});
    if (!check.waitForFinished(60'000)) return {-1, {}};
    return {check.exitCode(), QString::fromUtf8(check.readAllStandardError())};
}

TEST(WaitCheck, AWaitIsFoundHoweverItIsSpelt) {
    struct Case {
        const char* file;
        const char* text;
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Checked checked = checkWaits(QString::fromLatin1(c.file), c.text);
        EXPECT_EQ(checked.exitCode, 1);
        EXPECT_TRUE(checked.said.contains(QStringLiteral("src/") + QString::fromLatin1(c.file) + ':'))
            << checked.said.toStdString();
    }
}

TEST(WaitCheck, WhatOnlyLooksLikeAWaitPasses) {
    struct Case {
        const char* file;
        const char* text;
    } cases[] = {
        {"log/A.cpp", "// d.exec() would let events run\nvoid f() {}"},
        {"log/A.cpp", "/* QCoreApplication::processEvents();\n   loop.exec(); */\nvoid f() {}"},
        {"log/A.cpp", "bool f(sqlite3* db) { return sqlite3_exec(db, \"\", 0, 0, 0) == 0; }"},
        {"log/A.cpp", "int f(QDialog& d) { return forms::execModal(d); }"},
        {"log/A.cpp", "bool f(QProcess& p) { return forms::waitUntil([&] { return p.atEnd(); }, 10); }"},
        {"log/A.cpp", "const char* u = \"http://example\"; // exec()"},
        {"platform/forms/waits/Waits.cpp", "int f(QDialog& d) { return d.exec(); }"},
        {"platform/programs/x/main.cpp", "int main() { return QCoreApplication::exec(); }"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Checked checked = checkWaits(QString::fromLatin1(c.file), c.text);
        EXPECT_EQ(checked.exitCode, 0) << checked.said.toStdString();
    }
}

} // namespace
