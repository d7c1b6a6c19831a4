// The RTF reader and writer: what it writes it reads back, text of any kind
// survives exactly, the shipped default texts and RTF from other programs read
// as they should, and broken input is read as far as it goes.

#include "core/database.h"
#include "core/globals.h"
#include "core/settings.h"
#include "platform/rtf.h"
#include "test_support.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>

using testsupport::ProgramFolder;

namespace {

// One paragraph's format and its runs of text, each with every attribute the
// format keeps, in a form two documents can be compared by.
QString describe(const QTextDocument &doc)
{
    const QFont def = doc.defaultFont();
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        auto tw = [](double px) { return qRound(px * rtf::kTwipsPerPixel); };
        QString line = QStringLiteral("[li%1 ri%2 fi%3 sb%4 sa%5 al%6]")
                           .arg(tw(bf.leftMargin()))
                           .arg(tw(bf.rightMargin()))
                           .arg(tw(bf.textIndent()))
                           .arg(tw(bf.topMargin()))
                           .arg(tw(bf.bottomMargin()))
                           .arg(int(bf.alignment() & (Qt::AlignHCenter | Qt::AlignRight | Qt::AlignJustify)));
        QString lastAttrs;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            QString family = cf.fontFamilies().toStringList().value(0);
            if (family.isEmpty())
                family = def.family();
            const double size = cf.fontPointSize() > 0 ? cf.fontPointSize() : def.pointSizeF();
            const QString colour =
                cf.foreground().style() == Qt::NoBrush ? QStringLiteral("auto") : cf.foreground().color().name();
            const QString attrs = QStringLiteral("{%1%2%3%4 %5 %6 %7}")
                                      .arg(cf.fontWeight() >= QFont::DemiBold ? "b" : "")
                                      .arg(cf.fontItalic() ? "i" : "")
                                      .arg(cf.fontUnderline() ? "u" : "")
                                      .arg(cf.fontStrikeOut() ? "s" : "")
                                      .arg(family)
                                      .arg(size)
                                      .arg(colour);
            if (attrs != lastAttrs)
                line += attrs;
            lastAttrs = attrs;
            line += f.text();
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString roundTrip(const QString &rtfText)
{
    QTextDocument doc;
    rtf::read(rtfText, &doc);
    return rtf::write(&doc);
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private slots:
    void textSurvivesExactly_data();
    void textSurvivesExactly();
    void formattingSurvives_data();
    void formattingSurvives();
    void aFragmentIsWrittenAlone();
    void defaultTextsOfTheSystemFile();
    void readsRtfFromOtherPrograms();
    void brokenInputIsReadAsFarAsItGoes_data();
    void brokenInputIsReadAsFarAsItGoes();
};

void TestRtf::textSurvivesExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << QStringLiteral("Feed twice a day.");
    QTest::newRow("paragraphs") << QStringLiteral("one\ntwo\nthree");
    QTest::newRow("empty paragraphs") << QStringLiteral("\n\na\n\n\nb\n");
    QTest::newRow("tab and line break") << (QStringLiteral("col1\tcol2") + QChar(QChar::LineSeparator)
                                            + QStringLiteral("next line"));
    QTest::newRow("braces and backslashes") << QStringLiteral("{\\rtf1 not rtf} \\par \\b x \\'41 \\u65? {}}{ \\\\ \\");
    QTest::newRow("digits after a word") << QStringLiteral("\\fs20 20 \\li-5");
    QTest::newRow("blanks") << QStringLiteral("  leading, inner   and trailing  ");
    QTest::newRow("western") << QStringLiteral("Grüße, naïve café – “quoted” €5 ½ ÿ");
    QTest::newRow("cyrillic and cjk") << QStringLiteral("Кошка и собака, 日本語のテキスト");
    QTest::newRow("outside the basic plane") << QStringLiteral("dog 🐶 cat 🐱");
    QTest::newRow("non-breaking space and hyphen") << QStringLiteral("a\u00A0b\u2011c\u00ADd");
    QTest::newRow("semicolons") << QStringLiteral("a;b;;");
}

void TestRtf::textSurvivesExactly()
{
    QFETCH(QString, text);
    QTextDocument doc;
    QTextCursor(&doc).insertText(text);
    const QString written = rtf::write(&doc);
    QVERIFY2(!written.contains(QRegularExpression(QStringLiteral("[^\\x0a\\x20-\\x7e]"))),
             "RTF is written in printable ASCII only");

    QTextDocument back;
    rtf::read(written, &back);
    QCOMPARE(back.toRawText(), doc.toRawText());
    QCOMPARE(rtf::plainText(written), doc.toPlainText());
    QCOMPARE(rtf::write(&back), written);
}

void TestRtf::formattingSurvives_data()
{
    QTest::addColumn<QString>("html");
    QTest::newRow("runs") << QStringLiteral(
        "<p>a <b>bold</b> <i>italic</i> <u>under</u> <b><i><u>all</u></i></b> <s>struck</s> end</p>");
    QTest::newRow("digits next to runs") << QStringLiteral("<p><b>1</b>2<i>3</i></p>");
    QTest::newRow("indents") << QStringLiteral("<p style='margin-left:50px; text-indent:-20px'>hanging</p>"
                                               "<p style='margin-left:16.6667px'>one step</p><p>none</p>"
                                               "<p style='margin-right:30px'>right</p>");
    QTest::newRow("fonts and sizes") << QStringLiteral(
        "<p><span style=\"font-family:'Courier New'; font-size:14pt\">mono</span> "
        "<span style='font-size:7.5pt'>small</span> <span style='font-family:Arial'>arial</span></p>");
    QTest::newRow("colours") << QStringLiteral(
        "<p><span style='color:#ff0000'>red</span> <span style='color:#0080ff'>blue</span> auto "
        "<span style='color:#ff0000'>red again</span></p>");
    QTest::newRow("alignment and spacing")
        << QStringLiteral("<p align='center'>c</p><p align='right'>r</p><p align='justify'>j</p>"
                          "<p style='margin-top:10px; margin-bottom:5px'>spaced</p>");
    QTest::newRow("formatting over paragraphs")
        << QStringLiteral("<p><b>bold <i>and</i></b></p><p><b><i>still</i></b> not</p>");
    QTest::newRow("a font name with a semicolon")
        << QStringLiteral("<p><span style=\"font-family:'Odd;Name {x}'\">odd</span></p>");
}

void TestRtf::formattingSurvives()
{
    QFETCH(QString, html);
    QTextDocument doc;
    doc.setHtml(html);
    const QString written = rtf::write(&doc);
    QTextDocument back;
    rtf::read(written, &back);
    QCOMPARE(describe(back), describe(doc));
    QCOMPARE(rtf::write(&back), written);
}

void TestRtf::aFragmentIsWrittenAlone()
{
    QTextDocument doc;
    doc.setHtml(QStringLiteral("<p>before <b>bold</b> after</p><p>second</p>"));
    QTextCursor c(&doc);
    c.setPosition(7);
    c.setPosition(17, QTextCursor::KeepAnchor); // "bold after"
    QFont font(QStringLiteral("Courier New"), 13);
    QTextDocument back;
    rtf::read(rtf::write(c.selection(), font), &back);
    QCOMPARE(back.toPlainText(), QStringLiteral("bold after"));
    QCOMPARE(back.begin().begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(back.begin().begin().fragment().charFormat().fontPointSize(), 13.0);
}

void TestRtf::defaultTextsOfTheSystemFile()
{
    ProgramFolder pf;
    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    auto rs = gSystemDB->openRecordset(QStringLiteral("SELECT * FROM tbl_defaults"));
    QVERIFY(rs && !rs->isEOF());
    for (const QString &kind : {QStringLiteral("feeding"), QStringLiteral("care")}) {
        const QString stored = rs->field(QStringLiteral("default_%1_rtf").arg(kind)).toString();
        const QString text = rs->field(QStringLiteral("default_%1_text").arg(kind)).toString();
        QVERIFY(rtf::isRtf(stored));
        QCOMPARE(rtf::plainText(stored), text);

        QTextDocument doc;
        rtf::read(stored, &doc);
        QCOMPARE(doc.blockCount(), int(text.count(QLatin1Char('\n')) + 1));
        const QTextCharFormat f = doc.lastBlock().begin().fragment().charFormat();
        QCOMPARE(f.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(f.fontPointSize(), 10.0);
        // Written again, it reads as the same document.
        QTextDocument again;
        rtf::read(rtf::write(&doc), &again);
        QCOMPARE(describe(again), describe(doc));
    }
}

void TestRtf::readsRtfFromOtherPrograms()
{
    // As a word processor writes it: tables, generator and document info,
    // a picture, a field, code-page bytes in two character sets, Unicode with
    // fallbacks, and the closing \par of the last paragraph.
    const QString sample =
        QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033"
                       "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}"
                       "{\\f2\\fnil\\fcharset204{\\*\\panose 020b0604030504040204}Tahoma;}}\r\n"
                       "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                       "{\\*\\generator Riched20 10.0.19041}{\\info{\\title Secret title}{\\author Someone}}"
                       "\\viewkind4\\uc1 \r\n"
                       "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Plain \\b bold\\b0  \\i italic\\i0  "
                       "\\ul under\\ulnone\\par\r\n"
                       "\\pard\\li720\\fi-360\\qc\\cf1\\f1\\fs28 Indented red\\cf0\\par\r\n"
                       "\\pard\\f2 \\'c0\\'e1\\f0  caf\\'e9 \\u8364\\'80 \\u-10179?\\u-8701?{\\*\\unknown hidden}"
                       "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\line next\\tab tabbed "
                       "\\ldblquote q\\rdblquote\\emdash\\par\r\n"
                       "{\\pict\\wmetafile8\\picw1\\pich1 0102030405}\\par\r\n"
                       "}\r\n");
    QTextDocument doc;
    rtf::read(sample, &doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("Plain bold italic under\nIndented red\n"
                                               "Аб café € 😃link\nnext\ttabbed “q”—\n"));

    const QTextBlock first = doc.begin();
    QCOMPARE(qRound(first.blockFormat().bottomMargin() * rtf::kTwipsPerPixel), 200);
    auto formatAt = [&](const QTextBlock &b, const QString &word) {
        QTextCursor c(&doc);
        c.setPosition(b.position() + int(b.text().indexOf(word)) + 1);
        return c.charFormat();
    };
    QCOMPARE(formatAt(first, QStringLiteral("Plain")).fontPointSize(), 11.0);
    QCOMPARE(formatAt(first, QStringLiteral("Plain")).fontFamilies().toStringList(), QStringList{"Arial"});
    QVERIFY(formatAt(first, QStringLiteral("bold")).fontWeight() >= QFont::Bold);
    QVERIFY(formatAt(first, QStringLiteral("italic")).fontWeight() < QFont::Bold);
    QVERIFY(formatAt(first, QStringLiteral("italic")).fontItalic());
    QVERIFY(formatAt(first, QStringLiteral("under")).fontUnderline());

    const QTextBlock second = first.next();
    QCOMPARE(qRound(second.blockFormat().leftMargin() * rtf::kTwipsPerPixel), 720);
    QCOMPARE(qRound(second.blockFormat().textIndent() * rtf::kTwipsPerPixel), -360);
    QCOMPARE(second.blockFormat().alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    const QTextCharFormat red = formatAt(second, QStringLiteral("Indented"));
    QCOMPARE(red.foreground().color(), QColor(255, 0, 0));
    QCOMPARE(red.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    QCOMPARE(red.fontPointSize(), 14.0);
    QCOMPARE(second.next().blockFormat().leftMargin(), 0.0); // \pard ends the indent
}

void TestRtf::brokenInputIsReadAsFarAsItGoes_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("plain");
    QTest::newRow("not rtf") << QStringLiteral("hello {\\b} world") << QStringLiteral("hello {\\b} world");
    QTest::newRow("unclosed groups") << QStringLiteral("{\\rtf1 unclosed {\\b bold") << QStringLiteral("unclosed bold");
    QTest::newRow("too many closing braces") << QStringLiteral("{\\rtf1 a}}}after") << QStringLiteral("a");
    QTest::newRow("cut inside a word") << QStringLiteral("{\\rtf1 ab\\u") << QStringLiteral("ab");
    QTest::newRow("cut inside an escape") << QStringLiteral("{\\rtf1 ab\\'") << QStringLiteral("ab");
    QTest::newRow("bad hex") << QStringLiteral("{\\rtf1 a\\'zzb}") << QStringLiteral("azzb");
    QTest::newRow("huge numbers") << QStringLiteral("{\\rtf1\\fs-5\\fs99999999\\li99999999999999\\u99999999 ?x}")
                                  << QStringLiteral("x");
    QTest::newRow("binary data") << QStringLiteral("{\\rtf1 a{\\*\\blob\\bin3 }}}}b}") << QStringLiteral("ab");
    QTest::newRow("binary beyond the end") << QStringLiteral("{\\rtf1 a\\bin999999 xyz}") << QStringLiteral("a");
    QTest::newRow("unknown code page") << QStringLiteral("{\\rtf1\\ansicpg99999 caf\\'e9}") << QStringLiteral("café");
    QTest::newRow("deep nesting") << (QStringLiteral("{\\rtf1 ") + QString(20000, QLatin1Char('{'))
                                      + QStringLiteral("deep"))
                                  << QStringLiteral("deep");
    QTest::newRow("colour beyond the table")
        << QStringLiteral("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf9 x\\f7 y}") << QStringLiteral("xy");
}

void TestRtf::brokenInputIsReadAsFarAsItGoes()
{
    QFETCH(QString, input);
    QFETCH(QString, plain);
    QCOMPARE(rtf::plainText(input), plain);
    // What was read can always be written and read again.
    QCOMPARE(rtf::plainText(roundTrip(input)), plain);
}

ZORBI_TEST_MAIN(TestRtf)
#include "tst_rtf.moc"
