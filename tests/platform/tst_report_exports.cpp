// The writers of the laid-out pages against hostile text: every user text,
// link address, title and file name run through the web page, the RTF file
// and the PDF. The page must parse as XML and show the text as typed, its
// links and pictures pointing where they should; the RTF must balance its
// braces, stay ASCII and read back through our own reader with its
// formatting; the PDF must have its pages and its link annotations. Also the
// web page's file names, and rich text split over two pages.

#include "platform/report/exports.h"
#include "platform/rtf.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <QUrl>
#include <QXmlStreamReader>

using namespace report;

namespace {

const QString kHref = QStringLiteral("http://www.x.org/pets?name=");

QFont modelFont(int points, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(points * kTwipsPerPoint);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

Item textItem(const QString &name, const QRect &rect, const QString &text)
{
    Item it;
    it.kind = Item::Text;
    it.name = name;
    it.rect = rect;
    it.text = text;
    it.font = modelFont(10);
    return it;
}

// A rich text laid out in twips, as the engine lays its notes out: a bold
// run and an italic paragraph, each holding `s`.
std::shared_ptr<QTextDocument> richDoc(const QString &s, int width)
{
    auto doc = std::make_shared<QTextDocument>();
    doc->setDocumentMargin(0);
    doc->setDefaultFont(modelFont(10));
    QTextCursor c(doc.get());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Bold ") + s, bold);
    c.insertText(QStringLiteral(" plain"), QTextCharFormat());
    QTextCharFormat italic;
    italic.setFontItalic(true);
    c.insertBlock();
    c.insertText(QStringLiteral("Italic ") + s, italic);
    doc->setTextWidth(width);
    return doc;
}

// Two pages: on the first the text, a link, a label turned 900, a picture,
// a line, a box and rich text; on the second the page number and the text.
Document hostileDoc(const QString &s)
{
    Document doc;
    doc.title = s;
    doc.size = QSize(12240, 15840);
    doc.pages.resize(2);
    auto &one = doc.pages[0].items;
    one.push_back(textItem(QStringLiteral("txtName"), {1000, 1000, 6000, 400}, s));
    Item link = textItem(QStringLiteral("lblLink"), {1000, 1600, 6000, 400}, QStringLiteral("Visit ") + s);
    link.href = kHref + s;
    one.push_back(link);
    Item turned = textItem(QStringLiteral("lblTurned"), {200, 3000, 400, 4000}, QStringLiteral("Up ") + s);
    turned.angle = 900;
    one.push_back(turned);
    Item picture;
    picture.kind = Item::Image;
    picture.rect = {7000, 1000, 2000, 1500};
    picture.image = QImage(40, 30, QImage::Format_RGB32);
    picture.image.fill(QColor(200, 30, 30));
    one.push_back(picture);
    Item line;
    line.kind = Item::Line;
    line.line = QLineF(1000, 5000, 9000, 5000);
    line.rect = QRect(1000, 5000, 8000, 0);
    one.push_back(line);
    Item box;
    box.kind = Item::Box;
    box.rect = {1000, 5200, 3000, 1000};
    box.fillColor = QColor(255, 255, 192);
    one.push_back(box);
    Item rich;
    rich.kind = Item::Rich;
    rich.rich = richDoc(s, 6000);
    rich.rect = QRect(1000, 6500, 6000, int(std::ceil(rich.rich->size().height())));
    one.push_back(rich);
    Item number = textItem(QStringLiteral("Field12"), {1000, 14000, 1000, 300}, QString());
    number.deferred = Item::PageNumber;
    doc.pages[1].items.push_back(number);
    doc.pages[1].items.push_back(textItem(QStringLiteral("txtAgain"), {1000, 1000, 6000, 400}, s));
    doc.pages[1].items.push_back(textItem(QStringLiteral("txtOver"), {1000, 1000, 6000, 400}, QStringLiteral("Over")));
    return doc;
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What an XML reader finds in the page: its texts, the attributes by name.
struct Parsed {
    QString error;
    QString title;
    QStringList texts;
    QStringList hrefs, srcs;
    int pages = 0;
};

Parsed parse(const QString &html)
{
    Parsed p;
    QXmlStreamReader xml(html);
    QString current;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("title"))
                p.title = xml.readElementText();
            if (xml.name() == QLatin1String("a"))
                p.hrefs << a.value(QLatin1String("href")).toString();
            if (xml.name() == QLatin1String("img"))
                p.srcs << a.value(QLatin1String("src")).toString();
            if (a.value(QLatin1String("class")) == QLatin1String("p"))
                ++p.pages;
            break;
        }
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())
                current += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            if (!current.isEmpty())
                p.texts << current;
            current.clear();
            break;
        default: break;
        }
    }
    if (xml.hasError())
        p.error = xml.errorString() + QStringLiteral(" at line ") + QString::number(xml.lineNumber());
    return p;
}

// False when a brace of the text is unmatched; escaped ones do not count.
bool bracesBalance(const QString &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const QChar c = rtf[i];
        if (c == u'\\')
            ++i;
        else if (c == u'{')
            ++depth;
        else if (c == u'}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

class TestReportExports : public QObject {
    Q_OBJECT
private slots:
    void htmlParsesAndShowsTheText_data() { hostile(); }
    void htmlParsesAndShowsTheText();
    void rtfBalancesAndReadsBack_data() { hostile(); }
    void rtfBalancesAndReadsBack();
    void pdfHasPagesAndLinks_data() { hostile(); }
    void pdfHasPagesAndLinks();
    void htmlFileNames_data();
    void htmlFileNames();
    void nothingWritten();
    void picturesKeptAsFiles();
    void richTextSplitOverPages();
    void rtfLinesOverEverything();
    void packedPagesWriteTheSame_data() { hostile(); }
    void packedPagesWriteTheSame();

private:
    static void hostile();
    QTemporaryDir m_dir;
};

void TestReportExports::hostile()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("markup") << QStringLiteral("<b>&\"'");
    QTest::newRow("rtf") << QStringLiteral("{\\}");
    QTest::newRow("both") << QStringLiteral("<b>&\"'{\\}");
    QTest::newRow("non-ascii") << QStringLiteral(u"Grüße, Ωμέγα, Пёс – “Rex”");
    QTest::newRow("ends") << QStringLiteral("]]></div><script>x</script>\\par }");
    QTest::newRow("parentheses") << QStringLiteral("a) >> /Evil (b\\");
}

void TestReportExports::htmlParsesAndShowsTheText()
{
    QFETCH(QString, text);
    const Document doc = hostileDoc(text);
    const QString path = m_dir.filePath(QStringLiteral("page.htm"));
    QStringList pictures;
    QString error;
    QVERIFY2(exportHtml(doc, path, &error, &pictures), qPrintable(error));
    const QString html = readText(path);
    const Parsed p = parse(html);
    QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
    QCOMPARE(p.pages, 2);
    QCOMPARE(p.title, text);
    QVERIFY2(p.texts.contains(text), qPrintable(p.texts.join(QLatin1Char('|'))));
    QVERIFY(p.texts.contains(QStringLiteral("Visit ") + text));
    QVERIFY(p.texts.contains(QStringLiteral("Up ") + text));
    QVERIFY(p.texts.contains(QStringLiteral("Bold ") + text));
    QVERIFY(p.texts.contains(QStringLiteral("Italic ") + text));
    QVERIFY(p.texts.contains(QStringLiteral("2"))); // the second page's number
    QCOMPARE(p.hrefs, QStringList{kHref + text});
    QCOMPARE(p.srcs.size(), 1);
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(QFileInfo(path).dir().filePath(QUrl::fromPercentEncoding(p.srcs[0].toUtf8())), pictures[0]);
    const QColor shownColour = QImage(pictures[0]).pixelColor(5, 5);
    QVERIFY(qAbs(shownColour.red() - 200) < 8 && qAbs(shownColour.green() - 30) < 8);

    // A browser's reader shows it as typed too.
    QTextDocument shown;
    shown.setHtml(html);
    QVERIFY(shown.toPlainText().contains(text));
    QVERIFY(shown.toPlainText().contains(QStringLiteral("Visit ") + text));
}

void TestReportExports::rtfBalancesAndReadsBack()
{
    QFETCH(QString, text);
    const Document doc = hostileDoc(text);
    const QString path = m_dir.filePath(QStringLiteral("doc.rtf"));
    QString error;
    QVERIFY2(exportRtf(doc, path, &error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    for (const char c : bytes)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the file is ASCII: everything above 127 goes as \\u");
    const QString rtf = QString::fromLatin1(bytes);
    QVERIFY(rtf.startsWith(QStringLiteral("{\\rtf1")));
    QVERIFY(bracesBalance(rtf));
    QCOMPARE(rtf.count(QRegularExpression(QStringLiteral("\\\\page(?![a-z])"))), 1);
    QVERIFY(rtf.contains(QStringLiteral("\\paperw12240\\paperh15840")));
    QCOMPARE(rtf.count(QStringLiteral("{\\pict\\jpegblip")), 1); // the photo
    QCOMPARE(rtf.count(QStringLiteral("{\\pict\\pngblip")), 1);  // the turned label, see-through
    QVERIFY(rtf.contains(QStringLiteral("{\\field{\\*\\fldinst HYPERLINK \"http://www.x.org/pets?name=")));
    // The second page's two texts at one place stay two frames: in a row,
    // frames alike to the letter would be one.
    const QString frame = QStringLiteral("\\pvpg\\phpg\\posx1000\\posy1000\\absw6000\\absh-400\\dxfrtext");
    const qsizetype page2 = rtf.indexOf(QRegularExpression(QStringLiteral("\\\\page(?![a-z])")));
    QCOMPARE(rtf.mid(page2).count(frame + QLatin1Char('0')), 1);
    QCOMPARE(rtf.mid(page2).count(frame + QLatin1Char('1')), 1);

    // Our own reader gets every text back, the rich text with its formatting.
    QTextDocument back;
    rtf::read(rtf, &back);
    const QString plain = back.toPlainText();
    for (const QString &t :
         {text, QStringLiteral("Visit ") + text, QStringLiteral("Bold ") + text, QStringLiteral("Italic ") + text})
        QVERIFY2(plain.contains(t), qPrintable(plain));
    QVERIFY(!plain.contains(QStringLiteral("HYPERLINK")));
    bool boldSeen = false, italicSeen = false;
    for (QTextBlock b = back.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.text().startsWith(QStringLiteral("Bold ")))
                boldSeen = frag.charFormat().fontWeight() == QFont::Bold && frag.charFormat().fontPointSize() == 10.0;
            if (frag.text().startsWith(QStringLiteral("Italic ")))
                italicSeen = frag.charFormat().fontItalic();
        }
    QVERIFY(boldSeen);
    QVERIFY(italicSeen);
}

void TestReportExports::pdfHasPagesAndLinks()
{
    QFETCH(QString, text);
    const Document doc = hostileDoc(text);
    const QString path = m_dir.filePath(QStringLiteral("doc.pdf"));
    QVERIFY(exportPdf(doc, path));
    QVERIFY(run(QStringLiteral("pdfinfo"), {path}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("/URI"));
    // The link goes where it says, whatever its address holds, and adds
    // nothing to the file's structure.
    const QStringList links = run(QStringLiteral("pdfinfo"), {QStringLiteral("-url"), path})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(1);
    QVERIFY(!links.isEmpty());
    for (const QString &l : links)
        QCOMPARE(QUrl::fromPercentEncoding(l.section(QLatin1Char(' '), -1, -1, QString::SectionSkipEmpty).toUtf8()),
                 kHref + text);
    const QString shown = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    QVERIFY2(shown.contains(QStringLiteral("Visit ") + text), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("Bold ") + text));
}

void TestReportExports::htmlFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("picture");
    QTest::newRow("htm") << QStringLiteral("rex.htm") << QStringLiteral("rex_1.jpg");
    QTest::newRow("html") << QStringLiteral("rex.html") << QStringLiteral("rex_1.jpg");
    QTest::newRow("case") << QStringLiteral("Rex.HTM") << QStringLiteral("Rex_1.jpg");
    QTest::newRow("dots") << QStringLiteral("my.pet.htm") << QStringLiteral("my.pet_1.jpg");
    QTest::newRow("none") << QStringLiteral("rex") << QStringLiteral("rex_1.jpg");
    QTest::newRow("hostile") << QStringLiteral("a\"b<c>&'d #1%.htm") << QStringLiteral("a\"b<c>&'d #1%_1.jpg");
}

void TestReportExports::htmlFileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, picture);
    QTemporaryDir dir;
    Document doc = hostileDoc(QStringLiteral("Rex"));
    // The same picture twice is one file; one with see-through parts is a PNG.
    doc.pages[1].items.push_back(doc.pages[0].items[3]);
    Item clear = doc.pages[0].items[3];
    clear.image = QImage(20, 20, QImage::Format_ARGB32);
    clear.image.fill(Qt::transparent);
    doc.pages[1].items.push_back(clear);
    QString second = picture;
    second.replace(QStringLiteral("_1.jpg"), QStringLiteral("_2.png"));
    QVERIFY(exportHtml(doc, dir.filePath(name)));
    QStringList files{name, picture, second};
    files.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), files);
    QVERIFY(QImage(dir.filePath(second)).hasAlphaChannel());
    const Parsed p = parse(readText(dir.filePath(name)));
    QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
    QCOMPARE(p.srcs.size(), 3);
    QStringList shown;
    for (const QString &src : p.srcs)
        shown << QUrl::fromPercentEncoding(src.toUtf8());
    QCOMPARE(shown, QStringList({picture, picture, second}));
}

// A page held packed (as the engine holds the pages it has finished) gives
// every writer and the screen what its items gave: each kind of item, the
// colours, turn, link, page number and picture carried through.
void TestReportExports::packedPagesWriteTheSame()
{
    QFETCH(QString, text);
    const Document doc = hostileDoc(text);
    Document packed = doc;
    packed.pages[0].items[0].foreColor = QColor(10, 120, 30);
    packed.pages[0].items[0].backColor = QColor(250, 240, 200);
    Document plain = packed;
    for (Page &page : packed.pages)
        page.items.pack();
    QVERIFY(packed.pages[0].items.isPacked());
    QCOMPARE(packed.pages[0].items.size(), plain.pages[0].items.size());
    for (int p = 0; p < plain.pageCount(); ++p) {
        QCOMPARE(packed.texts(p), plain.texts(p));
        QCOMPARE(renderPage(packed, p, 0.05), renderPage(plain, p, 0.05));
    }
    std::vector<QImage> packedImages, plainImages;
    QCOMPARE(htmlText(packed, QStringLiteral("p_"), &packedImages),
             htmlText(plain, QStringLiteral("p_"), &plainImages));
    QCOMPARE(packedImages.size(), plainImages.size());
    QCOMPARE(rtfText(packed), rtfText(plain));
    // Read as a vector, and changed: the page unpacks and takes the change.
    QCOMPARE(packed.pages[1].items[0].deferred, Item::PageNumber);
    packed.pages[1].items.push_back(packed.pages[0].items[0]);
    QVERIFY(!packed.pages[1].items.isPacked());
    QCOMPARE(packed.pages[1].items.back().foreColor, QColor(10, 120, 30));
}

void TestReportExports::nothingWritten()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!exportHtml(Document(), dir.filePath(QStringLiteral("a.htm")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!exportRtf(Document(), dir.filePath(QStringLiteral("a.rtf"))));
    const Document doc = hostileDoc(QStringLiteral("Rex"));
    QVERIFY(!exportHtml(doc, dir.filePath(QStringLiteral("gone/a.htm")), &error));
    QVERIFY(error.contains(QStringLiteral("does not exist")));
    QVERIFY(!exportRtf(doc, dir.filePath(QStringLiteral("gone/a.rtf"))));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

// A picture the page holds only as its file (a photo album's) is written by
// both writers as well, decoded at the size it prints; a file gone is left out.
void TestReportExports::picturesKeptAsFiles()
{
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    QImage big(1600, 1200, QImage::Format_RGB32);
    big.fill(QColor(30, 120, 200));
    QVERIFY(big.save(photo, "JPEG"));
    Document doc;
    doc.size = QSize(12240, 15840);
    doc.pages.resize(1);
    Item kept;
    kept.kind = Item::Image;
    kept.rect = {1000, 1000, 1440, 1080}; // an inch wide
    kept.imageFile = photo;
    doc.pages[0].items.push_back(kept);
    Item gone = kept;
    gone.imageFile = dir.filePath(QStringLiteral("gone.jpg"));
    doc.pages[0].items.push_back(gone);

    QVERIFY(exportHtml(doc, dir.filePath(QStringLiteral("album.htm"))));
    const Parsed p = parse(readText(dir.filePath(QStringLiteral("album.htm"))));
    QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
    QCOMPARE(p.srcs.size(), 1);
    const QImage written(dir.filePath(QUrl::fromPercentEncoding(p.srcs[0].toUtf8())));
    QVERIFY(!written.isNull());
    QVERIFY2(written.width() <= kPdfImageDpi, qPrintable(QString::number(written.width())));

    QVERIFY(exportRtf(doc, dir.filePath(QStringLiteral("album.rtf"))));
    QCOMPARE(readText(dir.filePath(QStringLiteral("album.rtf"))).count(QStringLiteral("\\pict")), 1);
}

// A note too long for its page goes on in a second slice of the same
// document: each writer writes a slice's own lines, and the two slices hold
// the whole text once.
void TestReportExports::richTextSplitOverPages()
{
    auto doc = std::make_shared<QTextDocument>();
    doc->setDocumentMargin(0);
    doc->setDefaultFont(modelFont(10));
    QTextCursor c(doc.get());
    QStringList words;
    for (int i = 1; i <= 120; ++i)
        words << QStringLiteral("w%1").arg(i);
    c.insertText(QStringLiteral("First paragraph."));
    c.insertBlock();
    c.insertText(words.join(QLatin1Char(' ')));
    c.insertBlock();
    c.insertText(QStringLiteral("Last paragraph."));
    doc->setTextWidth(3000);
    const int total = int(std::ceil(doc->size().height())); // laid out
    // Cut after the long paragraph's third line.
    const QTextBlock longBlock = doc->begin().next();
    QTextLayout *tl = longBlock.layout();
    QVERIFY(tl->lineCount() > 5);
    const QTextLine third = tl->lineAt(2);
    const int cut = int(tl->position().y() + third.y() + third.height());

    Document out;
    out.size = QSize(12240, 15840);
    out.pages.resize(2);
    Item first;
    first.kind = Item::Rich;
    first.rich = doc;
    first.rect = QRect(1000, 14000, 3000, cut);
    Item second = first;
    second.rect = QRect(1000, 1000, 3000, total - cut);
    second.richTop = cut;
    out.pages[0].items.push_back(first);
    out.pages[1].items.push_back(second);

    const auto [a1, z1] = richRange(first);
    const auto [a2, z2] = richRange(second);
    const int cutAt = longBlock.position() + third.textStart() + third.textLength();
    QCOMPARE(a1, 0);
    QCOMPARE(z1, cutAt);
    QCOMPARE(a2, cutAt);
    QCOMPARE(z2, doc->characterCount() - 1);
    Item nothing = first;
    nothing.richTop = total + 100;
    QCOMPARE(richRange(nothing).first, -1);

    const QString html = htmlText(out, QStringLiteral("x"));
    const int page2 = int(html.indexOf(QStringLiteral("id=\"page2\"")));
    QVERIFY(page2 > 0);
    const QString p1 = html.left(page2), p2 = html.mid(page2);
    QVERIFY(p1.contains(QStringLiteral("First paragraph.")) && !p2.contains(QStringLiteral("First paragraph.")));
    QVERIFY(p2.contains(QStringLiteral("Last paragraph.")) && !p1.contains(QStringLiteral("Last paragraph.")));
    // The words either side of the cut, each on its own page.
    const QString plain = doc->toPlainText();
    const QString before = plain.left(cutAt).trimmed().section(QLatin1Char(' '), -1);
    const QString after = plain.mid(cutAt).trimmed().section(QLatin1Char(' '), 0, 0);
    const auto has = [](const QString &html, const QString &word) {
        return html.contains(QRegularExpression(QStringLiteral("\\b") + word + QStringLiteral("\\b")));
    };
    QVERIFY(has(p1, before) && !has(p2, before));
    QVERIFY(has(p2, after) && !has(p1, after));

    QTextDocument back;
    rtf::read(rtfText(out), &back);
    // The long paragraph comes back in two parts, one a page, together whole.
    QString joined = back.toPlainText();
    joined.replace(QLatin1Char('\n'), QString());
    QString whole = doc->toPlainText();
    whole.replace(QLatin1Char('\n'), QString());
    QCOMPARE(joined, whole);
}

ZORBI_TEST_MAIN(TestReportExports)
// A word processor paints each positioned frame opaque over the frames
// before it: a box whose bottom edge the texts below it touch lost that edge
// when its border was the box's own. Each side of a box, and each line, is a
// thin frame filled with its colour, written after every text of its page, at
// its place: inside the box for a side, centred on the line for a line.
void TestReportExports::rtfLinesOverEverything()
{
    Document doc;
    doc.size = QSize(12240, 15840);
    doc.pages.resize(2);
    auto &one = doc.pages[0].items;
    Item box;
    box.kind = Item::Box;
    box.rect = {1000, 2000, 4000, 900};
    box.lineWidth = 15;
    box.lineColor = QColor(0, 0, 255);
    one.push_back(box);
    one.push_back(textItem(QStringLiteral("txtIn"), {1100, 2600, 2000, 300}, QStringLiteral("Inside")));
    one.push_back(textItem(QStringLiteral("txtBelow"), {1000, 2900, 2000, 300}, QStringLiteral("Below")));
    Item line;
    line.kind = Item::Line;
    line.line = QLineF(1000, 5000, 9000, 5000);
    line.lineWidth = 15;
    one.push_back(line);
    Item upright = line;
    upright.line = QLineF(500, 6000, 500, 7000);
    upright.lineWidth = 20;
    one.push_back(upright);
    doc.pages[1].items.push_back(textItem(QStringLiteral("txtNext"), {1000, 1000, 2000, 300}, QStringLiteral("Next")));
    const QString rtf = rtfText(doc);
    QVERIFY(bracesBalance(rtf));
    QVERIFY2(!rtf.contains(QStringLiteral("\\brdr")), "no paragraph borders: a frame written later would cover them");

    const qsizetype pageBreak = rtf.indexOf(QRegularExpression(QStringLiteral("\\\\page(?![a-z])")));
    const qsizetype lastText = rtf.indexOf(QStringLiteral("Below"));
    QVERIFY(lastText > 0 && pageBreak > lastText);
    const QString filled = QStringLiteral("\\cbpat%1\\cfpat%1\\shading10000");
    const auto frameAt = [&](int x, int y, int w, int h) {
        return QStringLiteral("\\pvpg\\phpg\\posx%1\\posy%2\\absw%3\\absh-%4\\dxfrtext").arg(x).arg(y).arg(w).arg(h);
    };
    const QRegularExpression colour(QStringLiteral("\\\\red(\\d+)\\\\green(\\d+)\\\\blue(\\d+);"));
    QStringList colours;
    for (auto m = colour.globalMatch(rtf); m.hasNext();) {
        const auto c = m.next();
        colours << c.captured(1) + QLatin1Char(',') + c.captured(2) + QLatin1Char(',') + c.captured(3);
    }
    const int blue = int(colours.indexOf(QStringLiteral("0,0,255"))) + 1,
              black = int(colours.indexOf(QStringLiteral("0,0,0"))) + 1;
    QVERIFY(blue > 0 && black > 0);
    struct Side {
        int x, y, w, h, colour;
    };
    for (const Side &sd :
         {Side{1000, 2000, 4000, 15, blue}, Side{1000, 2885, 4000, 15, blue}, Side{1000, 2000, 15, 900, blue},
          Side{4985, 2000, 15, 900, blue}, Side{1000, 4993, 8000, 15, black}, Side{490, 6000, 20, 1000, black}}) {
        const qsizetype at = rtf.indexOf(frameAt(sd.x, sd.y, sd.w, sd.h));
        QVERIFY2(at > lastText && at < pageBreak, qPrintable(frameAt(sd.x, sd.y, sd.w, sd.h)));
        const QString words = rtf.mid(at, rtf.indexOf(QStringLiteral("\\par"), at) - at);
        QVERIFY2(words.contains(filled.arg(sd.colour)), qPrintable(words));
        QVERIFY2(words.contains(QStringLiteral("\\sl-%1\\slmult0").arg(sd.h)), qPrintable(words));
    }
}

#include "tst_report_exports.moc"
