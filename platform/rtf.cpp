#include "platform/rtf.h"

#include "platform/shell.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QFont>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace rtf {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Twips as a length of the layout; RTF's own limit is 22 inches either way.
double twipsToPixels(int twips) { return qBound(-31680, twips, 31680) / kTwipsPerPixel; }

// The decoder name of a Windows code page.
QByteArray codePageName(int cp)
{
    switch (cp) {
    case 65001: return "UTF-8";
    case 10000: return "macintosh";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 950: return "Big5";
    case 437:
    case 850: return "IBM" + QByteArray::number(cp);
    default: return "windows-" + QByteArray::number(cp);
    }
}

// The code page a font's character set (\fcharsetN) stands for; 0 when the
// document's own code page applies.
int charsetCodePage(int charset)
{
    static const std::map<int, int> pages = {{77, 10000}, {128, 932},  {129, 949},  {134, 936},  {136, 950},
                                             {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
                                             {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}};
    const auto it = pages.find(charset);
    return it == pages.end() ? 0 : it->second;
}

QString decodeBytes(const QByteArray &bytes, int cp)
{
    QStringDecoder decoder(codePageName(cp).constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

// Groups whose content is not text, skipped with all they hold.
bool isSkippedDestination(const QString &word)
{
    static const QSet<QString> words = {QStringLiteral("stylesheet"),
                                        QStringLiteral("info"),
                                        QStringLiteral("pict"),
                                        QStringLiteral("object"),
                                        QStringLiteral("header"),
                                        QStringLiteral("headerl"),
                                        QStringLiteral("headerr"),
                                        QStringLiteral("headerf"),
                                        QStringLiteral("footer"),
                                        QStringLiteral("footerl"),
                                        QStringLiteral("footerr"),
                                        QStringLiteral("footerf"),
                                        QStringLiteral("footnote"),
                                        QStringLiteral("annotation"),
                                        QStringLiteral("fldinst"),
                                        QStringLiteral("themedata"),
                                        QStringLiteral("colorschememapping"),
                                        QStringLiteral("latentstyles"),
                                        QStringLiteral("datastore"),
                                        QStringLiteral("listtable"),
                                        QStringLiteral("listoverridetable"),
                                        QStringLiteral("rsidtbl"),
                                        QStringLiteral("generator"),
                                        QStringLiteral("xmlnstbl"),
                                        QStringLiteral("mmathPr"),
                                        QStringLiteral("revtbl"),
                                        QStringLiteral("filetbl"),
                                        QStringLiteral("private"),
                                        QStringLiteral("xe"),
                                        QStringLiteral("tc"),
                                        QStringLiteral("pgdsctbl")};
    return words.contains(word);
}

// Characters that RTF names with a control word of their own.
QChar namedCharacter(const QString &word)
{
    static const std::map<QString, char16_t> chars = {
        {QStringLiteral("emdash"), u'\u2014'},    {QStringLiteral("endash"), u'\u2013'},
        {QStringLiteral("bullet"), u'\u2022'},    {QStringLiteral("lquote"), u'\u2018'},
        {QStringLiteral("rquote"), u'\u2019'},    {QStringLiteral("ldblquote"), u'\u201C'},
        {QStringLiteral("rdblquote"), u'\u201D'}, {QStringLiteral("emspace"), u'\u2003'},
        {QStringLiteral("enspace"), u'\u2002'},   {QStringLiteral("qmspace"), u'\u2005'},
        {QStringLiteral("cell"), u'\t'},          {QStringLiteral("nestcell"), u'\t'}};
    const auto it = chars.find(word);
    return it == chars.end() ? QChar() : QChar(it->second);
}

// ---- Reading ----

class Reader {
public:
    explicit Reader(QTextDocument *doc) : m_doc(doc), m_cursor(doc) {}
    void run(const QString &text);

private:
    enum class Dest { Text, Skip, FontTable, ColorTable };
    struct State {
        QTextCharFormat chr;
        QTextBlockFormat blk;
        int uc = 1;
        int codePage = 0; // 0: the document's
        Dest dest = Dest::Text;
    };
    struct Font {
        QString name;
        int codePage = 0;
    };

    void controlWord(const QString &word, bool hasParam, int param);
    void controlSymbol(QChar c);
    void addChars(const QString &s);
    void flushBytes();
    void flushText();
    void paragraph();
    void openPendingParagraph();
    void pushGroup();
    void popGroup();
    void endFontEntry();
    void endTableEntry();
    void setFont(int number);
    void charChanged() { m_fmtDirty = true; }
    QTextCharFormat plainFormat() const;

    QTextDocument *m_doc;
    QTextCursor m_cursor;
    State m_st;
    std::vector<State> m_stack;
    std::map<int, Font> m_fonts;
    std::vector<QColor> m_colors;
    int m_ansiCp = 1252;
    int m_deff = -1;

    QString m_text; // text waiting to be inserted in m_textFmt
    QTextCharFormat m_textFmt;
    bool m_fmtDirty = true;
    QByteArray m_bytes;        // \'hh bytes waiting to be decoded
    int m_ucSkip = 0;          // fallback characters of a \uN still to skip
    bool m_parPending = false; // a \par whose paragraph has no content yet

    // The font table entry being read.
    int m_fontNumber = -1;
    QString m_fontName;
    int m_fontCharset = -1;
    // The colour table entry being read.
    int m_red = -1, m_green = -1, m_blue = -1;
};

QTextCharFormat Reader::plainFormat() const
{
    QTextCharFormat f;
    const auto it = m_fonts.find(m_deff);
    if (it != m_fonts.end() && !it->second.name.isEmpty())
        f.setFontFamilies({it->second.name});
    return f;
}

void Reader::run(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool started = false;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('{')) {
            ++i;
            m_ucSkip = 0;
            pushGroup();
            started = true;
            continue;
        }
        if (c == QLatin1Char('}')) {
            ++i;
            m_ucSkip = 0;
            popGroup();
            if (m_stack.empty() && started)
                break; // the document's own group has ended
            continue;
        }
        if (c == QLatin1Char('\\')) {
            ++i;
            if (i >= n)
                break;
            const QChar d = text[i];
            if (isAsciiLetter(d)) {
                const qsizetype start = i;
                while (i < n && i - start < 32 && isAsciiLetter(text[i]))
                    ++i;
                const QString word = text.mid(start, i - start);
                bool negative = false, hasParam = false;
                if (i < n && text[i] == QLatin1Char('-') && i + 1 < n && text[i + 1].isDigit()) {
                    negative = true;
                    ++i;
                }
                qint64 value = 0;
                while (i < n && text[i].isDigit()) {
                    hasParam = true;
                    if (value < 100000000)
                        value = value * 10 + text[i].digitValue();
                    ++i;
                }
                if (i < n && text[i] == QLatin1Char(' '))
                    ++i;
                const int param = int(negative ? -value : value);
                if (word == QLatin1String("bin") && hasParam) {
                    flushBytes();
                    i += qMax(0, param); // binary data: never text
                    continue;
                }
                if (m_ucSkip > 0) {
                    --m_ucSkip; // a fallback written as a control word
                    continue;
                }
                flushBytes();
                controlWord(word, hasParam, param);
                continue;
            }
            ++i;
            if (d == QLatin1Char('\'')) {
                int value = -1;
                if (i + 1 < n) {
                    bool ok = false;
                    value = text.mid(i, 2).toInt(&ok, 16);
                    if (ok)
                        i += 2;
                    else
                        value = -1;
                }
                if (m_ucSkip > 0) {
                    --m_ucSkip;
                    continue;
                }
                if (value >= 0)
                    m_bytes.append(char(value));
                continue;
            }
            if (m_ucSkip > 0 && (d == QLatin1Char('\\') || d == QLatin1Char('{') || d == QLatin1Char('}'))) {
                --m_ucSkip;
                continue;
            }
            flushBytes();
            controlSymbol(d);
            continue;
        }
        ++i;
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            continue;
        if (m_ucSkip > 0) {
            --m_ucSkip;
            continue;
        }
        flushBytes();
        if (c == QLatin1Char(';') && (m_st.dest == Dest::FontTable || m_st.dest == Dest::ColorTable))
            endTableEntry(); // only a plain ";" ends an entry; an escaped one is part of a name
        else if (c == QLatin1Char('\t'))
            addChars(QStringLiteral("\t"));
        else if (c.unicode() >= 0x20)
            addChars(QString(c));
    }
    flushBytes();
    flushText();
    // What a cut-off document held in open groups is kept; a last \par with
    // nothing after it ends the last paragraph and opens none.
}

void Reader::pushGroup()
{
    flushBytes();
    m_stack.push_back(m_st);
}

void Reader::popGroup()
{
    flushBytes();
    flushText();
    if (m_st.dest == Dest::FontTable)
        endFontEntry();
    if (m_stack.empty())
        return;
    const Dest leaving = m_st.dest;
    m_st = m_stack.back();
    m_stack.pop_back();
    charChanged();
    if (leaving == Dest::FontTable && m_st.dest != Dest::FontTable) {
        // The table is read: text before any \f is in the default font.
        const auto it = m_fonts.find(m_deff);
        if (it != m_fonts.end() && !m_st.chr.hasProperty(QTextFormat::FontFamilies)) {
            m_st.chr.setFontFamilies({it->second.name});
            m_st.codePage = it->second.codePage;
        }
    }
}

void Reader::endFontEntry()
{
    if (m_fontNumber >= 0) {
        Font f;
        f.name = m_fontName.trimmed();
        f.codePage = m_fontCharset >= 0 ? charsetCodePage(m_fontCharset) : 0;
        m_fonts[m_fontNumber] = f;
    }
    m_fontNumber = -1;
    m_fontName.clear();
    m_fontCharset = -1;
}

void Reader::endTableEntry()
{
    if (m_st.dest == Dest::FontTable) {
        endFontEntry();
        return;
    }
    m_colors.push_back(
        m_red < 0 && m_green < 0 && m_blue < 0 ? QColor() : QColor(qMax(0, m_red), qMax(0, m_green), qMax(0, m_blue)));
    m_red = m_green = m_blue = -1;
}

void Reader::setFont(int number)
{
    const auto it = m_fonts.find(number);
    if (it == m_fonts.end())
        return;
    if (!it->second.name.isEmpty())
        m_st.chr.setFontFamilies({it->second.name});
    m_st.codePage = it->second.codePage;
    charChanged();
}

void Reader::controlWord(const QString &word, bool hasParam, int param)
{
    if (m_st.dest == Dest::Skip)
        return;
    if (word == QLatin1String("u")) {
        if (!hasParam)
            return;
        const int unit = param < 0 ? param + 65536 : param;
        if (unit > 0 && unit <= 0xFFFF)
            addChars(QString(QChar(char16_t(unit))));
        m_ucSkip = m_st.uc;
        return;
    }
    if (word == QLatin1String("uc")) {
        m_st.uc = qMax(0, param);
        return;
    }
    if (m_st.dest == Dest::FontTable) {
        if (word == QLatin1String("f")) {
            endFontEntry();
            m_fontNumber = param;
        } else if (word == QLatin1String("fcharset")) {
            m_fontCharset = param;
        } else if (isSkippedDestination(word)) {
            m_st.dest = Dest::Skip;
        }
        return;
    }
    if (m_st.dest == Dest::ColorTable) {
        if (word == QLatin1String("red"))
            m_red = qBound(0, param, 255);
        else if (word == QLatin1String("green"))
            m_green = qBound(0, param, 255);
        else if (word == QLatin1String("blue"))
            m_blue = qBound(0, param, 255);
        return;
    }
    if (isSkippedDestination(word)) {
        flushText();
        m_st.dest = Dest::Skip;
        return;
    }
    const bool on = !hasParam || param != 0;
    if (word == QLatin1String("fonttbl")) {
        flushText();
        m_st.dest = Dest::FontTable;
    } else if (word == QLatin1String("colortbl")) {
        flushText();
        m_st.dest = Dest::ColorTable;
        m_red = m_green = m_blue = -1;
    } else if (word == QLatin1String("par") || word == QLatin1String("row") || word == QLatin1String("page")) {
        paragraph();
    } else if (word == QLatin1String("line")) {
        addChars(QString(QChar::LineSeparator));
    } else if (word == QLatin1String("tab")) {
        addChars(QStringLiteral("\t"));
    } else if (const QChar named = namedCharacter(word); !named.isNull()) {
        addChars(QString(named));
    } else if (word == QLatin1String("pard")) {
        m_st.blk = QTextBlockFormat();
    } else if (word == QLatin1String("plain")) {
        m_st.chr = plainFormat();
        const auto it = m_fonts.find(m_deff);
        m_st.codePage = it == m_fonts.end() ? 0 : it->second.codePage;
        charChanged();
    } else if (word == QLatin1String("b")) {
        m_st.chr.setFontWeight(on ? QFont::Bold : QFont::Normal);
        charChanged();
    } else if (word == QLatin1String("i")) {
        m_st.chr.setFontItalic(on);
        charChanged();
    } else if (word == QLatin1String("ulnone")) {
        m_st.chr.setFontUnderline(false);
        charChanged();
    } else if (word == QLatin1String("ul") || word == QLatin1String("uld") || word == QLatin1String("uldb")
               || word == QLatin1String("ulw") || word == QLatin1String("uldash") || word == QLatin1String("ulth")
               || word == QLatin1String("ulwave")) {
        m_st.chr.setFontUnderline(on);
        charChanged();
    } else if (word == QLatin1String("strike")) {
        m_st.chr.setFontStrikeOut(on);
        charChanged();
    } else if (word == QLatin1String("f")) {
        setFont(param);
    } else if (word == QLatin1String("fs")) {
        if (param > 0) {
            m_st.chr.setFontPointSize(qMin(param, 3276) / 2.0); // RTF's largest size
            charChanged();
        }
    } else if (word == QLatin1String("cf")) {
        if (param > 0 && param < int(m_colors.size()) && m_colors[size_t(param)].isValid())
            m_st.chr.setForeground(m_colors[size_t(param)]);
        else
            m_st.chr.clearForeground();
        charChanged();
    } else if (word == QLatin1String("li")) {
        m_st.blk.setLeftMargin(twipsToPixels(param));
    } else if (word == QLatin1String("ri")) {
        m_st.blk.setRightMargin(twipsToPixels(param));
    } else if (word == QLatin1String("fi")) {
        m_st.blk.setTextIndent(twipsToPixels(param));
    } else if (word == QLatin1String("sb")) {
        m_st.blk.setTopMargin(twipsToPixels(param));
    } else if (word == QLatin1String("sa")) {
        m_st.blk.setBottomMargin(twipsToPixels(param));
    } else if (word == QLatin1String("ql")) {
        m_st.blk.setAlignment(Qt::AlignLeft);
    } else if (word == QLatin1String("qc")) {
        m_st.blk.setAlignment(Qt::AlignHCenter);
    } else if (word == QLatin1String("qr")) {
        m_st.blk.setAlignment(Qt::AlignRight);
    } else if (word == QLatin1String("qj")) {
        m_st.blk.setAlignment(Qt::AlignJustify);
    } else if (word == QLatin1String("ansicpg")) {
        if (param > 0)
            m_ansiCp = param;
    } else if (word == QLatin1String("mac")) {
        m_ansiCp = 10000;
    } else if (word == QLatin1String("pc")) {
        m_ansiCp = 437;
    } else if (word == QLatin1String("pca")) {
        m_ansiCp = 850;
    } else if (word == QLatin1String("deff")) {
        m_deff = param;
    }
    // Any other control word changes nothing this document keeps.
}

void Reader::controlSymbol(QChar c)
{
    switch (c.unicode()) {
    case '*':
        flushText();
        m_st.dest = Dest::Skip;
        break;
    case '\\':
    case '{':
    case '}': addChars(QString(c)); break;
    case '~': addChars(QString(QChar(QChar::Nbsp))); break;
    case '_': addChars(QString(QChar(0x2011))); break;
    case '\r':
    case '\n': paragraph(); break;
    default: break; // \- (optional hyphen), \| and \: show nothing
    }
}

void Reader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QByteArray bytes = m_bytes;
    m_bytes.clear();
    int cp = m_st.codePage ? m_st.codePage : m_ansiCp;
    if (m_st.dest == Dest::FontTable && m_fontCharset >= 0 && charsetCodePage(m_fontCharset))
        cp = charsetCodePage(m_fontCharset);
    addChars(decodeBytes(bytes, cp));
}

void Reader::addChars(const QString &s)
{
    switch (m_st.dest) {
    case Dest::Skip: return;
    case Dest::FontTable: m_fontName += s; return;
    case Dest::ColorTable: return;
    case Dest::Text: break;
    }
    openPendingParagraph();
    if (m_fmtDirty) {
        if (!m_text.isEmpty() && m_textFmt != m_st.chr)
            flushText();
        m_textFmt = m_st.chr;
        m_fmtDirty = false;
    }
    m_text += s;
}

void Reader::flushText()
{
    if (m_text.isEmpty())
        return;
    m_cursor.setBlockFormat(m_st.blk);
    m_cursor.insertText(m_text, m_textFmt);
    m_text.clear();
}

void Reader::openPendingParagraph()
{
    if (!m_parPending)
        return;
    m_parPending = false;
    m_cursor.insertBlock(m_st.blk, m_st.chr);
}

void Reader::paragraph()
{
    if (m_st.dest != Dest::Text)
        return;
    openPendingParagraph();
    flushText();
    m_cursor.setBlockFormat(m_st.blk);
    m_cursor.setBlockCharFormat(m_st.chr);
    m_parPending = true;
}

// ---- Writing ----

// Text as RTF: `delimit` says that a control word was written last, which the
// next letter must not run into.
void escapeText(const QString &s, QString &out, bool &delimit)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'\t') {
            out += QLatin1String("\\tab");
            delimit = true;
            continue;
        }
        if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator || u == u'\n') {
            out += QLatin1String("\\line");
            delimit = true;
            continue;
        }
        if (u == QChar::ObjectReplacementCharacter || u == 0xFDD0 || u == 0xFDD1)
            continue; // pictures and frame marks: not text
        if (u >= 0x20 && u < 0x7F) {
            if (delimit)
                out += QLatin1Char(' ');
            delimit = false;
            if (u == u'\\' || u == u'{' || u == u'}')
                out += QLatin1Char('\\');
            out += c;
            continue;
        }
        // Everything else by its number; the fallback is the same character
        // where the Western code page has it.
        out += QStringLiteral("\\u%1").arg(int(qint16(u)));
        if (u >= 0xA0 && u <= 0xFF)
            out += QStringLiteral("\\'%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char('?');
        delimit = false;
    }
}

class Writer {
public:
    // `twipsPerUnit`: the twips of one unit of the documents' layout (their
    // pixel sizes and indents): 15 for a document laid out at 96 dots an
    // inch, 1 for one laid out in twips.
    explicit Writer(double twipsPerUnit = kTwipsPerPixel) : m_twipsPerUnit(twipsPerUnit)
    {
        m_run.color = 0; // the reader starts in the automatic colour
    }

    int fontIndex(const QString &family);
    int colorIndex(const QColor &c);

    // The paragraphs that hold the characters [from, to) of `doc` (to < 0:
    // to its end); each starts with \pard, then `frame` (paragraph words that
    // every one of them shares).
    void blocks(const QTextDocument *doc, int from, int to, const QString &frame);
    // One paragraph of text in one format; a link address makes the text a
    // HYPERLINK field.
    void textParagraph(const QString &frame, Qt::Alignment alignment, const QString &s, const QTextCharFormat &format,
                       const QFont &defaultFont, const QString &href);
    // A paragraph that shows only its frame's borders and fill.
    void emptyParagraph(const QString &frame);
    // A picture as PNG, shown at `goal` twips.
    void picture(const QString &frame, const QImage &image, const QSize &goal);
    void pageBreak();

    // The file: the font and colour tables, then `documentWords`, then the body.
    QString finish(const QString &documentWords) const;

private:
    struct Run {
        bool bold = false, italic = false, underline = false, strike = false;
        int font = -1, halfPoints = -1, color = -1;
    };
    Run runOf(const QTextCharFormat &f, const QFont &def);
    void setRun(const Run &r);
    void span(const QString &s, const QTextCharFormat &f, const QFont &def, const QString &href);
    void word(const QString &w)
    {
        m_out += QLatin1Char('\\') + w;
        m_delimit = true;
    }
    void word(const char *w, int value) { word(QLatin1String(w) + QString::number(value)); }
    void words(const QString &ws)
    {
        if (ws.isEmpty())
            return;
        m_out += ws;
        m_delimit = true;
    }
    void text(const QString &s) { escapeText(s, m_out, m_delimit); }
    void paragraphStart(const QTextBlockFormat &bf, const QTextDocument *doc, const QString &frame);
    void paragraphEnd();
    int twips(double units) const { return int(qRound(units * m_twipsPerUnit)); }

    double m_twipsPerUnit;
    QStringList m_fonts;
    std::vector<QColor> m_colors; // table entries from 1 on
    QString m_out;
    bool m_delimit = false; // the last thing written was a control word
    Run m_run;              // the character format in force
};

int Writer::fontIndex(const QString &family)
{
    qsizetype i = m_fonts.indexOf(family);
    if (i < 0) {
        m_fonts << family;
        i = m_fonts.size() - 1;
    }
    return int(i);
}

int Writer::colorIndex(const QColor &color)
{
    const QColor c = color.toRgb();
    for (size_t i = 0; i < m_colors.size(); ++i)
        if (m_colors[i].rgb() == c.rgb())
            return int(i + 1);
    m_colors.push_back(c);
    return int(m_colors.size());
}

Writer::Run Writer::runOf(const QTextCharFormat &f, const QFont &def)
{
    Run r;
    const int weight = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() : def.weight();
    r.bold = weight >= QFont::DemiBold;
    r.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : def.italic();
    r.underline = f.hasProperty(QTextFormat::FontUnderline) || f.hasProperty(QTextFormat::TextUnderlineStyle)
                      ? f.fontUnderline()
                      : def.underline();
    r.strike = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : def.strikeOut();
    QString family = f.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = def.family();
    r.font = fontIndex(family);
    const double unitPoints = m_twipsPerUnit / 20.0;
    double points = f.fontPointSize();
    if (points <= 0 && f.hasProperty(QTextFormat::FontPixelSize))
        points = f.intProperty(QTextFormat::FontPixelSize) * unitPoints;
    if (points <= 0)
        points = def.pointSizeF() > 0 ? def.pointSizeF() : def.pixelSize() * unitPoints;
    r.halfPoints = qMax(1, int(qRound(points * 2)));
    r.color = f.foreground().style() == Qt::NoBrush ? 0 : colorIndex(f.foreground().color());
    return r;
}

void Writer::setRun(const Run &r)
{
    if (r.bold != m_run.bold)
        word(r.bold ? QStringLiteral("b") : QStringLiteral("b0"));
    if (r.italic != m_run.italic)
        word(r.italic ? QStringLiteral("i") : QStringLiteral("i0"));
    if (r.underline != m_run.underline)
        word(r.underline ? QStringLiteral("ul") : QStringLiteral("ulnone"));
    if (r.strike != m_run.strike)
        word(r.strike ? QStringLiteral("strike") : QStringLiteral("strike0"));
    if (r.font != m_run.font)
        word("f", r.font);
    if (r.halfPoints != m_run.halfPoints)
        word("fs", r.halfPoints);
    if (r.color != m_run.color)
        word("cf", r.color);
    m_run = r;
}

void Writer::span(const QString &s, const QTextCharFormat &f, const QFont &def, const QString &href)
{
    if (href.isEmpty()) {
        setRun(runOf(f, def));
        text(s);
        return;
    }
    // The field's groups keep the link's format to themselves: after them the
    // format in force is the one before.
    const Run outside = m_run;
    m_out += QStringLiteral("{\\field{\\*\\fldinst HYPERLINK \"") + shell::encodedAddress(href)
             + QStringLiteral("\"}{\\fldrslt ");
    m_delimit = false;
    setRun(runOf(f, def));
    text(s);
    m_out += QStringLiteral("}}");
    m_delimit = false;
    m_run = outside;
}

void Writer::paragraphStart(const QTextBlockFormat &bf, const QTextDocument *doc, const QString &frame)
{
    word(QStringLiteral("pard"));
    words(frame);
    const Qt::Alignment h = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        word(QStringLiteral("qc"));
    else if (h & Qt::AlignJustify)
        word(QStringLiteral("qj"));
    else if (h & Qt::AlignRight)
        word(QStringLiteral("qr"));
    const double indentWidth = doc ? doc->indentWidth() : 0;
    if (const int left = twips(bf.leftMargin() + bf.indent() * indentWidth))
        word("li", left);
    if (const int right = twips(bf.rightMargin()))
        word("ri", right);
    if (const int first = twips(bf.textIndent()))
        word("fi", first);
    if (const int before = twips(bf.topMargin()))
        word("sb", before);
    if (const int after = twips(bf.bottomMargin()))
        word("sa", after);
}

void Writer::paragraphEnd()
{
    word(QStringLiteral("par"));
    m_out += QLatin1Char('\n');
    m_delimit = false;
}

void Writer::blocks(const QTextDocument *doc, int from, int to, const QString &frame)
{
    const QFont def = doc->defaultFont();
    if (to < 0)
        to = std::numeric_limits<int>::max();
    for (QTextBlock b = doc->findBlock(qMax(0, from)); b.isValid() && b.position() <= to; b = b.next()) {
        const int start = b.position(), end = start + b.length() - 1; // without the block's separator
        if (end < from)
            continue;
        paragraphStart(b.blockFormat(), doc, frame);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid() || frag.charFormat().isImageFormat())
                continue;
            const int fs = frag.position(), fe = fs + frag.length();
            const int s = qMax(fs, from), e = qMin(fe, to);
            if (s >= e)
                continue;
            const QTextCharFormat cf = frag.charFormat();
            const QString href = cf.isAnchor() ? cf.anchorHref() : QString();
            span(s == fs && e == fe ? frag.text() : frag.text().mid(s - fs, e - s), cf, def, href);
        }
        paragraphEnd();
    }
}

void Writer::textParagraph(const QString &frame, Qt::Alignment alignment, const QString &s,
                           const QTextCharFormat &format, const QFont &defaultFont, const QString &href)
{
    QTextBlockFormat bf;
    bf.setAlignment(alignment);
    paragraphStart(bf, nullptr, frame);
    span(s, format, defaultFont, href);
    paragraphEnd();
}

void Writer::emptyParagraph(const QString &frame)
{
    paragraphStart(QTextBlockFormat(), nullptr, frame);
    // The paragraph's own line as small as RTF allows, so it never pushes
    // the frame beyond its height; the size it sets is the next run's concern.
    Run r = m_run;
    r.halfPoints = 2;
    setRun(r);
    paragraphEnd();
}

void Writer::picture(const QString &frame, const QImage &image, const QSize &goal)
{
    // A photo as JPEG, which writes many times faster and smaller; a
    // picture with see-through parts as PNG, which keeps them.
    const bool png = image.hasAlphaChannel();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, png ? "PNG" : "JPEG", png ? -1 : kJpegQuality))
        return;
    paragraphStart(QTextBlockFormat(), nullptr, frame);
    m_out += QStringLiteral("{\\pict\\%1\\picw%2\\pich%3\\picwgoal%4\\pichgoal%5\n")
                 .arg(png ? QLatin1String("pngblip") : QLatin1String("jpegblip"))
                 .arg(image.width())
                 .arg(image.height())
                 .arg(qMax(1, goal.width()))
                 .arg(qMax(1, goal.height()));
    const QByteArray hex = bytes.toHex();
    constexpr qsizetype kLine = 128;
    m_out.reserve(m_out.size() + hex.size() + hex.size() / kLine + 8);
    for (qsizetype i = 0; i < hex.size(); i += kLine) {
        m_out += QLatin1String(hex.constData() + i, qMin(kLine, hex.size() - i));
        m_out += QLatin1Char('\n');
    }
    m_out += QLatin1Char('}');
    m_delimit = false;
    paragraphEnd();
}

void Writer::pageBreak()
{
    word(QStringLiteral("pard"));
    word(QStringLiteral("page"));
    paragraphEnd();
}

QString Writer::finish(const QString &documentWords) const
{
    QString head = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        // A name is text like any other, but ";" would end it early.
        QString escaped;
        bool delimit = false;
        escapeText(m_fonts[i], escaped, delimit);
        escaped.replace(QLatin1Char(';'), QLatin1String("\\'3b"));
        head += QStringLiteral("{\\f%1\\fnil %2;}").arg(i).arg(escaped);
    }
    head += QLatin1Char('}');
    if (!m_colors.empty()) {
        head += QStringLiteral("{\\colortbl;");
        for (const QColor &c : m_colors)
            head += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
        head += QLatin1Char('}');
    }
    return head + documentWords + QLatin1Char('\n') + m_out + QLatin1Char('}');
}

// A frame at a fixed place on the page: its paragraphs stand there, whatever
// else the page holds; paragraphs in a row with the same frame share it.
QString frameWords(const QRect &r, int gap)
{
    return QStringLiteral("\\pvpg\\phpg\\posx%1\\posy%2\\absw%3\\absh-%4\\dxfrtext%5")
        .arg(qMax(0, r.left()))
        .arg(qMax(0, r.top()))
        .arg(qMax(1, r.width()))
        .arg(qMax(1, r.height()))
        .arg(gap);
}

} // namespace

struct PageWriter::Impl {
    Writer writer{1.0};
    QString documentWords;
    // The page's lines and borders, written at its end.
    std::vector<std::pair<QRect, QColor>> rules;
    bool firstPage = true;
    QRect lastBox;
    int lastGap = 0;
    // Each box a frame of its own: two boxes in a row at the same place would
    // otherwise be one frame, the second's text below the first's.
    QString frame(const QRect &box)
    {
        lastGap = box == lastBox ? 1 - lastGap : 0;
        lastBox = box;
        return frameWords(box, lastGap);
    }
    // A frame filled with one colour: a paragraph's shading covers its own
    // lines, so one line exactly as tall as the frame.
    void fill(const QRect &box, const QColor &color)
    {
        const QString shade = shading(color);
        if (!shade.isEmpty())
            writer.emptyParagraph(frame(box) + shade + QStringLiteral("\\sl-%1\\slmult0").arg(qMax(1, box.height())));
    }
    // A line is a frame as thick as the line, filled with its colour (a
    // border would be drawn inside the frame's padding, and leave gaps at a
    // box's corners).
    void writeRules()
    {
        for (const auto &[box, color] : rules)
            fill(box, color.isValid() ? color : QColor(Qt::black));
        rules.clear();
    }
    QString shading(const QColor &fill)
    {
        if (!fill.isValid() || fill.alpha() == 0)
            return {};
        // Solid: the pattern's colour at full strength over its ground.
        const int c = writer.colorIndex(fill);
        return QStringLiteral("\\cbpat%1\\cfpat%1\\shading10000").arg(c);
    }
};

PageWriter::PageWriter(const QSize &paper, bool landscape) : d(std::make_unique<Impl>())
{
    // The flow of the pages holds only their breaks; everything printed is
    // in frames placed on the paper, so the margins matter to nothing else.
    d->documentWords = QStringLiteral("\\paperw%1\\paperh%2\\margl360\\margr360\\margt360\\margb360%3")
                           .arg(paper.width())
                           .arg(paper.height())
                           .arg(landscape ? QStringLiteral("\\landscape") : QString());
}

PageWriter::~PageWriter() = default;

void PageWriter::newPage()
{
    d->writeRules();
    if (!d->firstPage)
        d->writer.pageBreak();
    d->firstPage = false;
    d->lastBox = QRect();
}

void PageWriter::text(const QRect &box, const QString &s, const QFont &font, const QColor &color,
                      Qt::Alignment alignment, const QString &href, const QColor &back)
{
    QTextCharFormat f;
    f.setFont(font, QTextCharFormat::FontPropertiesAll);
    f.setForeground(color);
    d->writer.textParagraph(d->frame(box) + d->shading(back), alignment & Qt::AlignHorizontal_Mask, s, f, font, href);
}

void PageWriter::rich(const QRect &box, const QTextDocument *doc, int from, int to)
{
    if (doc)
        d->writer.blocks(doc, from, to, d->frame(box));
}

void PageWriter::picture(const QRect &box, const QImage &image) { d->writer.picture(d->frame(box), image, box.size()); }

void PageWriter::line(const QLineF &l, int width, const QColor &color)
{
    const int lw = qMax(1, width);
    if (std::abs(l.dy()) <= std::abs(l.dx()))
        d->rules.emplace_back(QRect(int(std::lround(qMin(l.x1(), l.x2()))), int(std::lround(l.y1() - lw / 2.0)),
                                    qMax(1, int(std::lround(std::abs(l.dx())))), lw),
                              color);
    else
        d->rules.emplace_back(QRect(int(std::lround(l.x1() - lw / 2.0)), int(std::lround(qMin(l.y1(), l.y2()))), lw,
                                    qMax(1, int(std::lround(std::abs(l.dy()))))),
                              color);
}

void PageWriter::box(const QRect &box, int width, const QColor &color, const QColor &fill)
{
    d->fill(box, fill);
    if (width <= 0)
        return;
    // The four sides inside the box, as the page paints them.
    const int lw = qMin(width, qMin(box.width(), box.height()));
    const int x = box.left(), y = box.top(), w = box.width(), h = box.height();
    for (const QRect &side :
         {QRect(x, y, w, lw), QRect(x, y + h - lw, w, lw), QRect(x, y, lw, h), QRect(x + w - lw, y, lw, h)})
        d->rules.emplace_back(side, color);
}

QString PageWriter::finish()
{
    d->writeRules();
    return d->writer.finish(d->documentWords);
}

bool isRtf(const QString &text) { return QStringView(text).trimmed().startsWith(QLatin1String("{\\rtf")); }

void read(const QString &text, QTextDocument *doc)
{
    if (!isRtf(text)) {
        doc->setPlainText(text);
        return;
    }
    doc->clear();
    Reader reader(doc);
    QTextCursor edit(doc);
    edit.beginEditBlock();
    reader.run(text);
    edit.endEditBlock();
}

QString write(const QTextDocument *doc)
{
    Writer w;
    w.fontIndex(doc->defaultFont().family());
    w.blocks(doc, 0, -1, QString());
    return w.finish(QString());
}

QString write(const QTextDocumentFragment &fragment, const QFont &defaultFont)
{
    QTextDocument doc;
    doc.setDefaultFont(defaultFont);
    QTextCursor(&doc).insertFragment(fragment);
    return write(&doc);
}

QString plainText(const QString &text)
{
    if (!isRtf(text))
        return text;
    QTextDocument doc;
    read(text, &doc);
    return doc.toPlainText();
}

} // namespace rtf
