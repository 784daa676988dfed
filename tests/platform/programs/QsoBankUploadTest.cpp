// The QSOBank sender's stand-in: what it accepts as an upload file, and the
// program itself started with a path holding blanks and Japanese.
#include "platform/programs/comqsobank/QsoBankUpload.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray upload(const char* records) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<putqsodata_body>\r\n") + records +
           "</putqsodata_body>\r\n";
}

const char* kRecord = "<qso_record><daytime>2024-01-01 12:34:00 JST</daytime><callsign>JA1ABC</callsign>"
                      "<frequency>7</frequency><mode>CW</mode><his_rpt>599</his_rpt><my_rpt>579</my_rpt>"
                      "<qsl_remarks>a &amp; b</qsl_remarks></qso_record>";

TEST(QsoBankUpload, WhatTheSenderAcceptsAndRefuses) {
    const qsobank::Upload ok = qsobank::parseUpload(upload(kRecord));
    ASSERT_TRUE(ok.ok()) << ok.error.toStdString();
    ASSERT_EQ(ok.qsos.size(), 1u);
    EXPECT_EQ(ok.qsos[0].qslRemarks, QStringLiteral("a & b"));
    EXPECT_EQ(ok.qsos[0].myRpt, QStringLiteral("579"));

    const QByteArray japanese = upload("").replace(
        "<putqsodata_body>\r\n",
        "<putqsodata_body>\r\n" + cp932::encode(QStringLiteral(
                                      "<qso_record><daytime>x</daytime><callsign>漢字</callsign><frequency/>"
                                      "<mode/><his_rpt/><my_rpt/><qsl_remarks/></qso_record>")));
    const qsobank::Upload sjis = qsobank::parseUpload(japanese);
    ASSERT_TRUE(sjis.ok()) << sjis.error.toStdString();
    EXPECT_EQ(sjis.qsos.at(0).callsign, QStringLiteral("漢字"));

    const QByteArray refused[] = {
        "",
        "<other/>",
        upload("<qso_record><callsign>A</callsign></qso_record>"),
        upload("<qso_record><daytime/><daytime/></qso_record>"),
        upload("<qso_record><extra/></qso_record>"),
        upload("<note/>"),
        upload(kRecord).replace("&amp;", "&"),
        upload(kRecord) + "<second/>",
        upload(kRecord).left(120),
    };
    for (const QByteArray& bytes : refused)
        EXPECT_FALSE(qsobank::parseUpload(bytes).ok()) << bytes.toStdString();
}

class SenderProgram : public zvtest::ProgramFolderTest {
  protected:
    static int run(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(ZV_PROGRAM_DIR "/ComQSOBank.exe"), args);
        EXPECT_TRUE(p.waitForFinished(zvtest::kSafetyNetMsecs));
        return p.exitCode();
    }
    QString logOf(const QString& folder) const {
        QFile f(QDir(folder).filePath(QStringLiteral("ComQSOBank.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(SenderProgram, RecordsTheUploadBesideTheFile) {
    const QString folder = path(QStringLiteral("電子 QSL"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("送信 データ.xml"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(upload(kRecord));
    out.close();
    EXPECT_EQ(run({file}), 0);
    EXPECT_EQ(logOf(folder),
              QStringLiteral("upload ") + file +
                  QStringLiteral(": 1 QSOs\n2024-01-01 12:34:00 JST\tJA1ABC\t7\tCW\t599\t579\ta & b\n"));

    const QString broken = QDir(folder).filePath(QStringLiteral("壊れた.xml"));
    QFile b(broken);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("<putqsodata_body>");
    b.close();
    EXPECT_EQ(run({broken}), 1);
    EXPECT_TRUE(logOf(folder).contains(QStringLiteral("refused ") + broken)) << logOf(folder).toStdString();
    EXPECT_EQ(run({QDir(folder).filePath(QStringLiteral("無い.xml"))}), 1);
    EXPECT_TRUE(logOf(folder).contains(QStringLiteral("無い.xml: cannot read")));
}

} // namespace
