// The QSO boxes (call, name, QTH and report of the main and the SSTV window)
// have one door: no other code writes their text. The compiler keeps direct
// writes out (the boxes' writers are the door's alone); this check over the
// code finds what it cannot see: a plain line-edit pointer or reference to a
// box, a slot connected or invoked by name, a function that writes through a
// pointer it was given a box for.
#include "platform/forms/controls/QsoBox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The door and the fills it keeps for the call.
const QStringList kDoorFiles = {QStringLiteral("logwindows/entry/QsoDoor.cpp"),
                                QStringLiteral("logwindows/entry/CallFills.cpp")};
// Functions that write through a line-edit pointer they are given, allowed
// a box: the box's own rules (its case, its length) set up by its window.
const QSet<QString> kBoxRules = {QStringLiteral("keepRule"), QStringLiteral("setTextLimit"),
                                 QStringLiteral("keepOneLine")};

// The door's ways for the operator's own keys, and for the No that puts a
// box back, each where those are handled.
const QList<std::pair<QString, QStringList>> kOperatorsWays = {
    {QStringLiteral("TypeIntoQsoBox"),
     {QStringLiteral("terminal/receive/QsoEntryBoxes.cpp"), QStringLiteral("sstv/qso/SSTVForm_qso.cpp")}},
    {QStringLiteral("PutBackQsoBox"), {QStringLiteral("terminal/receive/PaneMarks.cpp")}}};

const QString kWriters = QStringLiteral("setText|clear|insert|del|backspace|cut|paste|undo|redo");

// Where the type of the boxes may be named: its own header, the windows that
// declare and make the boxes, the operating boxes and the link that fills a
// box through the door. Anywhere else a box named by its type is one about to
// be handed on as a plain line edit, past what the compiler keeps.
const QStringList kBoxTypeHomes = {
    QStringLiteral("platform/forms/controls/QsoBox.h"),  QStringLiteral("terminal/mainwindow/PSK31MAIN.h"),
    QStringLiteral("terminal/mainwindow/PSK31MAIN_controls.cpp"), QStringLiteral("sstv/window/SSTVForm.h"),
    QStringLiteral("sstv/window/SSTVForm_layout.cpp"),   QStringLiteral("logwindows/entry/QsoBoxes.h"),
    QStringLiteral("logwindows/entry/HamlogLink.cpp")};

// Whether code outside the door can call a box's writer: the compiler's
// answer, asked of the box type itself.
template <class Box>
concept SetsText = requires(Box* b) { b->setText(QString()); };
template <class Box>
concept Clears = requires(Box* b) { b->clear(); };
template <class Box>
concept Inserts = requires(Box* b) { b->insert(QString()); };
template <class Box>
concept Deletes = requires(Box* b) {
    b->del();
    b->backspace();
};
template <class Box>
concept CutsAndPastes = requires(Box* b) {
    b->cut();
    b->paste();
};
template <class Box>
concept UndoesAndRedoes = requires(Box* b) {
    b->undo();
    b->redo();
};

struct Source {
    QString rel;
    QString text;
};

QString joined(const QStringList& names) {
    QStringList quoted;
    for (const QString& n : names)
        quoted << QRegularExpression::escape(n);
    return quoted.join(QLatin1Char('|'));
}

// The code without its comments, line for line.
QStringList codeLines(const QString& text) {
    static const QRegularExpression comment(QStringLiteral(R"((^|[^:"])//.*$)"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line.replace(comment, QStringLiteral("\\1"));
    return lines;
}

// Functions outside the door that write through a line-edit parameter.
QSet<QString> pointerWriters(const QList<Source>& sources) {
    static const QRegularExpression signature(QStringLiteral(R"((\w+)\s*\(((?:[^()]|\([^()]*\))*)\)\s*(const\s*)?\{?\s*$)"));
    static const QRegularExpression parameter(QStringLiteral(R"((?<!const )\bQLineEdit\s*\*\s*(\w+)\s*(?:[,=]|$))"));
    QSet<QString> writers;
    for (const Source& s : sources) {
        if (kDoorFiles.contains(s.rel)) continue;
        const QStringList lines = codeLines(s.text);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch m = signature.match(lines[i]);
            static const QSet<QString> keywords = {QStringLiteral("if"), QStringLiteral("for"),
                                                   QStringLiteral("while"), QStringLiteral("switch")};
            if (!m.hasMatch() || kBoxRules.contains(m.captured(1)) || keywords.contains(m.captured(1))) continue;
            for (auto p = parameter.globalMatch(m.captured(2).trimmed()); p.hasNext();) {
                const QRegularExpression write(QStringLiteral(R"(\b%1\s*->\s*(%2)\s*\()")
                                                   .arg(QRegularExpression::escape(p.next().captured(1)), kWriters));
                for (qsizetype j = i; j < std::min(lines.size(), i + 40); ++j) {
                    if (j > i && lines[j].startsWith(QLatin1Char('}'))) break;
                    if (write.match(lines[j]).hasMatch()) writers.insert(m.captured(1));
                }
            }
        }
    }
    return writers;
}

// The lines of one file that write a QSO box around the door.
QStringList aroundTheDoor(const Source& s, const QSet<QString>& writers) {
    if (kDoorFiles.contains(s.rel)) return {};
    QStringList found;
    for (const auto& [way, files] : kOperatorsWays) {
        if (files.contains(s.rel) || s.rel == QStringLiteral("logwindows/entry/QsoDoor.h")) continue;
        if (s.text.contains(QRegularExpression(QStringLiteral(R"(\b%1\s*\()").arg(way))))
            found << s.rel + QStringLiteral(": ") + way;
    }
    const QStringList mainBoxes = {QStringLiteral("Text5"), QStringLiteral("Text6"), QStringLiteral("Text7"),
                                   QStringLiteral("Text14")};
    const QStringList sstvBoxes = {QStringLiteral("Text1"), QStringLiteral("Text5"), QStringLiteral("Text7"),
                                   QStringLiteral("Text14")};
    const QStringList fields = {QStringLiteral("call"), QStringLiteral("name"), QStringLiteral("rst"),
                                QStringLiteral("qth")};
    // The names this file gives the windows and the boxes.
    QStringList mains = {QStringLiteral(R"(PSK31MAIN\(\))")}, sstvs = {QStringLiteral(R"(SSTVForm\(\))")},
                boxes = {QStringLiteral(R"(operatingBoxes\(\))")};
    const auto collect = [&s](const QString& type, QStringList& into) {
        const QRegularExpression declared(
            QStringLiteral(R"(\b%1\s*[&*]\s*(?:const\s+)?(\w+)|\bauto\s*[&*]?\s*(\w+)\s*=\s*(?:forms::)?%1\(\))")
                .arg(type));
        for (auto it = declared.globalMatch(s.text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            into << (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
        }
    };
    collect(QStringLiteral("PSK31MAIN"), mains);
    collect(QStringLiteral("SSTVForm"), sstvs);
    static const QRegularExpression boxesVar(
        QStringLiteral(R"(\b(?:logwindows::)?QsoBoxes\s*&?\s*(\w+)\s*[=({;]|\bauto\s*&?\s*(\w+)\s*=\s*(?:logwindows::)?operatingBoxes\(\))"));
    for (auto it = boxesVar.globalMatch(s.text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        boxes << (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
    }
    QStringList forms = {
        QStringLiteral(R"(\b(?:%1)\s*(?:\.|->)\s*(?:%2)\b)").arg(mains.join(QLatin1Char('|')), joined(mainBoxes)),
        QStringLiteral(R"(\b(?:%1)\s*(?:\.|->)\s*(?:%2)\b)").arg(sstvs.join(QLatin1Char('|')), joined(sstvBoxes)),
        QStringLiteral(R"(\b(?:%1)\s*\.\s*(?:%2)\b)").arg(boxes.join(QLatin1Char('|')), joined(fields))};
    // A window's own code names its boxes bare.
    if (s.text.contains(QStringLiteral("PSK31MAIN::")))
        forms << QStringLiteral(R"((?<![\w.>])(?:%1)\b)").arg(joined(mainBoxes));
    if (s.text.contains(QStringLiteral("SSTVForm::")))
        forms << QStringLiteral(R"((?<![\w.>])(?:%1)\b)").arg(joined(sstvBoxes));
    const QRegularExpression box(QStringLiteral("(?:%1)").arg(forms.join(QLatin1Char('|'))));
    const QRegularExpression direct(QStringLiteral(R"((?:%1)\s*->\s*(?:%2)\s*\()")
                                        .arg(forms.join(QLatin1Char('|')), kWriters));
    // The box as a plain line edit: a pointer or reference kept, a cast, a
    // slot named or pointed to.
    const QRegularExpression plain(QStringLiteral(
        R"((?<!const )QLineEdit\s*[*&]|invokeMethod\s*\(|SLOT\s*\(|&QLineEdit::(?:%1)\b)")
                                       .arg(kWriters));
    const QRegularExpression kept(QStringLiteral(R"(\bauto\s*[*&]?\s*\w+\s*=\s*(?:%1)\s*;)")
                                      .arg(forms.join(QLatin1Char('|'))));
    QRegularExpression through;
    if (!writers.isEmpty())
        through.setPattern(QStringLiteral(R"(\b(?:%1)\s*\((?:[^;]*[(,])?\s*(?:%2)\s*[,)])")
                               .arg(joined(writers.values()), forms.join(QLatin1Char('|'))));
    // The box handed on from a function: a line edit from then on.
    const QRegularExpression returned(QStringLiteral(R"(\breturn\s+(?:%1)\s*;)").arg(forms.join(QLatin1Char('|'))));
    static const QRegularExpression boxType(QStringLiteral(R"(\bQsoBox\b)"));
    const QStringList lines = codeLines(s.text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!kBoxTypeHomes.contains(s.rel) && boxType.match(line).hasMatch())
            found << s.rel + QLatin1Char(':') + QString::number(i + 1) + QStringLiteral(": ") + line.trimmed();
        if (!box.match(line).hasMatch()) continue;
        if (returned.match(line).hasMatch())
            found << s.rel + QLatin1Char(':') + QString::number(i + 1) + QStringLiteral(": ") + line.trimmed();
        if (direct.match(line).hasMatch() || plain.match(line).hasMatch() || kept.match(line).hasMatch() ||
            (!writers.isEmpty() && through.match(line).hasMatch()))
            found << s.rel + QLatin1Char(':') + QString::number(i + 1) + QStringLiteral(": ") + line.trimmed();
    }
    return found;
}

QList<Source> sourcesOf(const QString& top) {
    QList<Source> sources;
    QDirIterator it(top, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        sources.append({path.mid(top.size() + 1), QString::fromUtf8(f.readAll())});
    }
    return sources;
}

} // namespace

// No code of the program writes a QSO box around the door.
TEST(QsoBoxesDoor, NoCodeWritesTheCallBoxAroundIt) {
    const QList<Source> sources = sourcesOf(QStringLiteral(ZV_SOURCE_DIR "/src"));
    EXPECT_GT(sources.size(), 500);
    const QSet<QString> writers = pointerWriters(sources);
    QStringList around;
    for (const Source& s : sources)
        around << aroundTheDoor(s, writers);
    EXPECT_TRUE(around.isEmpty()) << around.join(QLatin1Char('\n')).toStdString();
}

// The check finds each way around the door that has been tried, and leaves
// reading the boxes, their signals and the log entry's own boxes alone.
TEST(QsoBoxesDoor, TheCheckFindsEveryWayAroundIt) {
    struct Row {
        const char* rel;
        const char* code;
        bool found;
    };
    const Row rows[] = {
        {"spots/A.cpp", "forms::PSK31MAIN().Text5->setText(call);", true},
        {"spots/A.cpp", "forms::PSK31MAIN().Text6->clear();", true},
        {"spots/A.cpp", "QLineEdit* box = forms::PSK31MAIN().Text5;\nbox->setText(call);", true},
        {"spots/A.cpp", "PSK31MAIN& m = forms::PSK31MAIN();\nauto* box = m.Text14;\nbox->insert(x);", true},
        {"spots/A.cpp", "QObject::connect(a, &A::said, forms::PSK31MAIN().Text5, &QLineEdit::setText);", true},
        {"spots/A.cpp", "SSTVForm& s = forms::SSTVForm();\nQMetaObject::invokeMethod(s.Text1, \"clear\");", true},
        {"spots/A.cpp", "connect(a, SIGNAL(said(QString)), forms::SSTVForm().Text7, SLOT(setText(QString)));",
         true},
        {"spots/A.cpp", "static_cast<QLineEdit*>(forms::SSTVForm().Text5)->setText(x);", true},
        {"terminal/B.cpp", "void f(PSK31MAIN* m) {\n    m->Text6->setText(x);\n}", true},
        {"terminal/B.cpp", "void PSK31MAIN::f() {\n    Text7->setText(x);\n}", true},
        {"sstv/C.cpp", "void SSTVForm::f() {\n    Text14->insert(x);\n}", true},
        {"logwindows/D.cpp", "const QsoBoxes b = operatingBoxes();\nb.qth->clear();", true},
        {"logwindows/D.cpp", "if (QLineEdit* name = operatingBoxes().name) name->setText(x);", true},
        {"logwindows/D.cpp", "void put(QLineEdit* box, const QString& t) {\n    box->setText(t);\n}\n"
                             "void g(PSK31MAIN& w) {\n    put(w.Text5, x);\n}",
         true},
        {"terminal/E.cpp", "bool keep(QLineEdit* changed, QLineEdit* TEMP_LOG::*to) {\n    changed->setText(x);\n}\n"
                           "void PSK31MAIN::Text5_Change() {\n    keep(Text5, &TEMP_LOG::Text1);\n}",
         true},
        {"terminal/E.cpp", "void put(QLineEdit* box, const QString& t) {\n    box->setText(t);\n}\n"
                           "void PSK31MAIN::f() {\n    put(log.Text12, Text7->text());\n}",
         false},
        {"spots/A.cpp", "logwindows::TypeIntoQsoBox(forms::PSK31MAIN().Text5, call);", true},
        {"terminal/receive/RxPickItems.cpp", "logwindows::PutBackQsoBox(w.Text5, call);", true},
        {"terminal/receive/RxPickItems.cpp", "logwindows::PutIntoQsoBox(w.Text6, name);", false},
        {"spots/A.cpp", "const QString call = forms::PSK31MAIN().Text5->text();", false},
        {"terminal/B.cpp", "connect(w.Text5, &QLineEdit::textChanged, &w, &PSK31MAIN::Text5_Change);", false},
        {"logwindows/D.cpp", "TEMP_LOG& w = forms::TEMP_LOG();\nw.Text14->setText(x);\nw.Text5->clear();", false},
        {"logwindows/D.cpp", "forms::PSK31MAIN().Text5->setFocus();", false},
        {"logwindows/entry/QsoDoor.cpp", "const QsoBoxes b = operatingBoxes();\nb.call->clear();", false},
        // A box handed on as a plain line edit, which the compiler lets pass.
        {"spots/A.cpp", "QLineEdit* edit(QsoBox* box) {\n    return box;\n}", true},
        {"spots/A.cpp", "QLineEdit* callBox(PSK31MAIN& m) {\n    return m.Text5;\n}", true},
        {"sstv/C.cpp", "QWidget* SSTVForm::callBox() {\n    return Text1;\n}", true},
        {"logwindows/D.cpp", "QString call(const QsoBoxes& b) {\n    return b.call->text();\n}", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        const QList<Source> one = {{QLatin1String(row.rel), QString::fromUtf8(row.code)}};
        EXPECT_EQ(!aroundTheDoor(one[0], pointerWriters(one)).isEmpty(), row.found);
    }
}

// The boxes' writers are hidden from every code but the door's, which
// reaches them as a line edit's: the compiler refuses a direct write.
TEST(QsoBoxesDoor, NoCodeButTheDoorCanCallABoxsWriter) {
    const struct Row {
        const char* writer;
        bool lineEdit; // a plain line edit's, as the check's own proof
        bool box;
    } rows[] = {
        {"setText", SetsText<QLineEdit>, SetsText<QsoBox>},
        {"clear", Clears<QLineEdit>, Clears<QsoBox>},
        {"insert", Inserts<QLineEdit>, Inserts<QsoBox>},
        {"del, backspace", Deletes<QLineEdit>, Deletes<QsoBox>},
        {"cut, paste", CutsAndPastes<QLineEdit>, CutsAndPastes<QsoBox>},
        {"undo, redo", UndoesAndRedoes<QLineEdit>, UndoesAndRedoes<QsoBox>},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.writer);
        EXPECT_TRUE(row.lineEdit);
        EXPECT_FALSE(row.box);
    }
}
