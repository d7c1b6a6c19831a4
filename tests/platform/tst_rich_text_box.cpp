// The rich text box: its RTF property as a bound field sees it, the plain text,
// the selection's styles and indent, Ctrl+B, and the clipboard in both ways.

#include "platform/controls/rich_text_box.h"
#include "platform/rtf.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QMetaProperty>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>

namespace {

void select(VbRichTextBox &box, int from, int to)
{
    QTextCursor c = box.textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(c);
}

QTextCharFormat formatAt(VbRichTextBox &box, int position)
{
    QTextCursor c(box.document());
    c.setPosition(position + 1); // the format of the character before the cursor
    return c.charFormat();
}

} // namespace

class TestRichTextBox : public QObject {
    Q_OBJECT
private slots:
    void rtfIsTheBoundProperty();
    void plainTextAndEmptyText();
    void stylesOfAMixedSelection();
    void indentOfEverySelectedParagraph();
    void ctrlBTogglesBold();
    void pasteKeepsTheClipboardsFormatting_data();
    void pasteKeepsTheClipboardsFormatting();
    void copyPutsRtfOnTheClipboard();
};

void TestRichTextBox::rtfIsTheBoundProperty()
{
    VbRichTextBox box;
    const QMetaProperty user = box.metaObject()->userProperty();
    QCOMPARE(user.name(), "textRTF");
    QVERIFY(user.hasNotifySignal());
    QSignalSpy changed(&box, &VbRichTextBox::textRTFChanged);

    const QString stored =
        QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Feed \\b twice\\b0  a day.}");
    QVERIFY(user.write(&box, stored));
    QVERIFY(changed.count() >= 1); // set by code, as typed: the plain copies follow it
    QCOMPARE(box.text(), QStringLiteral("Feed twice a day."));
    QVERIFY(formatAt(box, 5).fontWeight() >= QFont::Bold);
    QVERIFY(!box.document()->isUndoAvailable());

    // What it gives back reads as the same text and formatting.
    const QString back = user.read(&box).toString();
    QVERIFY(rtf::isRtf(back));
    VbRichTextBox again;
    again.setTextRTF(back);
    QCOMPARE(again.text(), box.text());
    QVERIFY(formatAt(again, 5).fontWeight() >= QFont::Bold);
    QCOMPARE(again.textRTF(), back);

    changed.clear();
    QTest::keyClicks(&box, QStringLiteral("x"));
    QVERIFY(changed.count() >= 1);
}

void TestRichTextBox::plainTextAndEmptyText()
{
    VbRichTextBox box;
    QCOMPARE(box.textRTF(), QString());
    box.setTextRTF(QStringLiteral("an old note\nin plain text"));
    QCOMPARE(box.text(), QStringLiteral("an old note\nin plain text"));
    QVERIFY(rtf::isRtf(box.textRTF()));
    box.setTextRTF(QString());
    QCOMPARE(box.text(), QString());
    QCOMPARE(box.textRTF(), QString()); // an emptied note stores nothing
}

void TestRichTextBox::stylesOfAMixedSelection()
{
    VbRichTextBox box;
    box.setTextRTF(QStringLiteral("{\\rtf1 plain \\b\\i\\ul styled}"));
    select(box, 0, 12);
    QVERIFY(!box.selBold() && !box.selItalic() && !box.selUnderline()); // mixed reads as not set
    select(box, 6, 12);
    QVERIFY(box.selBold() && box.selItalic() && box.selUnderline());

    select(box, 0, 12);
    box.setSelBold(!box.selBold());
    QVERIFY(box.selBold()); // a toggle on a mixed selection sets the style everywhere
    QVERIFY(formatAt(box, 0).fontWeight() >= QFont::Bold);
    box.setSelBold(!box.selBold());
    QVERIFY(formatAt(box, 8).fontWeight() < QFont::Bold);
    QVERIFY(formatAt(box, 8).fontItalic()); // the other styles stay
}

void TestRichTextBox::indentOfEverySelectedParagraph()
{
    VbRichTextBox box;
    box.setTextRTF(QStringLiteral("{\\rtf1 one\\par\\li100 two\\par three\\par\\pard four}"));
    auto indents = [&] {
        QList<int> out;
        for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next())
            out << qRound(b.blockFormat().leftMargin() * rtf::kTwipsPerPixel);
        return out;
    };
    QCOMPARE(indents(), (QList<int>{0, 100, 100, 0}));
    select(box, 1, 9); // from "one" into "three"
    QCOMPARE(box.selIndent(), 0);
    box.shiftSelIndent(250);
    QCOMPARE(indents(), (QList<int>{250, 350, 350, 0}));
    box.shiftSelIndent(-250);
    box.shiftSelIndent(-250);
    // Below 0 is refused: that paragraph stays where it was.
    QCOMPARE(indents(), (QList<int>{0, 100, 100, 0}));
}

void TestRichTextBox::ctrlBTogglesBold()
{
    VbRichTextBox box;
    box.setTextRTF(QStringLiteral("{\\rtf1 make this bold}"));
    select(box, 5, 9);
    QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(formatAt(box, 5).fontWeight() >= QFont::Bold);
    QCOMPARE(box.text(), QStringLiteral("make this bold")); // no character typed
    QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(formatAt(box, 5).fontWeight() < QFont::Bold);
}

void TestRichTextBox::pasteKeepsTheClipboardsFormatting_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("italic");
    QTest::newRow("rtf of another program")
        << QStringLiteral("text/rtf")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 {\\i soft}\\par}") << true;
    QTest::newRow("html") << QStringLiteral("text/html") << QByteArray("<i>soft</i>") << true;
    QTest::newRow("plain text") << QStringLiteral("text/plain") << QByteArray("soft") << false;
}

void TestRichTextBox::pasteKeepsTheClipboardsFormatting()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, italic);
    VbRichTextBox box;
    box.setTextRTF(QStringLiteral("{\\rtf1 Feed \\b twice\\b0  daily.}"));
    auto *mime = new QMimeData;
    mime->setData(type, data);
    QGuiApplication::clipboard()->setMimeData(mime);

    select(box, 11, 16); // "daily"
    box.paste();
    QCOMPARE(box.text(), QStringLiteral("Feed twice soft."));
    QVERIFY(formatAt(box, 5).fontWeight() >= QFont::Bold); // the rest of the note is untouched
    QCOMPARE(formatAt(box, 12).fontItalic(), italic);
}

void TestRichTextBox::copyPutsRtfOnTheClipboard()
{
    VbRichTextBox box;
    box.setTextRTF(QStringLiteral("{\\rtf1 Feed \\b twice\\b0  daily.}"));
    select(box, 5, 16);
    box.copy();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime->hasFormat(VbRichTextBox::rtfMimeType()));
    QCOMPARE(mime->text(), QStringLiteral("twice daily"));
    QCOMPARE(rtf::plainText(QString::fromLatin1(mime->data(VbRichTextBox::rtfMimeType()))),
             QStringLiteral("twice daily"));

    VbRichTextBox other;
    other.paste();
    QCOMPARE(other.text(), QStringLiteral("twice daily"));
    QVERIFY(formatAt(other, 0).fontWeight() >= QFont::Bold);
}

ZORBI_TEST_MAIN(TestRichTextBox)
#include "tst_rich_text_box.moc"
