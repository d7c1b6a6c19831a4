// The edit and format commands by kind of control, and how a detail window
// registers its active control and turns its items on and off.

#include "core/edit.h"
#include "core/globals.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/rich_text_box.h"
#include "platform/controls/vb_picture_box.h"
#include "platform/rtf.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

QClipboard *clip() { return QGuiApplication::clipboard(); }

QPixmap picture(int side)
{
    QPixmap p(side, side);
    p.fill(Qt::darkGreen);
    return p;
}

QString pictureText(const QPixmap &p)
{
    return p.isNull() ? QStringLiteral("none") : QStringLiteral("%1x%2").arg(p.width()).arg(p.height());
}

QString clipText()
{
    const QMimeData *m = clip()->mimeData();
    if (!m || m->formats().isEmpty())
        return QStringLiteral("empty");
    if (m->hasImage())
        return QStringLiteral("picture ") + pictureText(clip()->pixmap());
    return QStringLiteral("text ") + m->text();
}

// A window with one control of each kind, and a box to hold the focus elsewhere.
struct Fixture {
    QWidget window;
    QLineEdit *elsewhere = new QLineEdit(&window);
    QLineEdit *text = new QLineEdit(&window);
    VbRichTextBox *rich = new VbRichTextBox(&window);
    QComboBox *combo = new QComboBox(&window);
    VbPictureBox *pictureBox = new VbPictureBox(&window);
    QLabel *image = new QLabel(&window);
    QListWidget *list = new QListWidget(&window);
    QDateEdit *date = new QDateEdit(QDate(2020, 1, 2), &window);

    Fixture()
    {
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{elsewhere, text, rich, combo, pictureBox, image, list, date})
            layout->addWidget(w);
        combo->setEditable(true);
        combo->addItems({QStringLiteral("Female"), QStringLiteral("Male")});
        list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QWidget *byKind(const QString &kind)
    {
        const std::map<QString, QWidget *> kinds = {
            {"text", text},   {"rich", rich}, {"combo", combo}, {"picture box", pictureBox},
            {"image", image}, {"list", list}, {"other", date}};
        return kinds.at(kind);
    }

    // Each control as it starts, with the focus elsewhere.
    void reset()
    {
        elsewhere->setFocus();
        text->setText(QStringLiteral("Hello world"));
        text->setSelection(6, 5);
        rich->setTextRTF(QStringLiteral("{\\rtf1 Hello \\b world}"));
        QTextCursor c = rich->textCursor();
        c.setPosition(6);
        c.setPosition(11, QTextCursor::KeepAnchor);
        rich->setTextCursor(c);
        combo->setCurrentIndex(1);
        pictureBox->setPicture(picture(10));
        image->setPixmap(picture(10));
        list->setCurrentRow(1);
    }

    // A control's content and, for text, its selection.
    QString state(const QString &kind)
    {
        if (kind == "text")
            return QStringLiteral("%1|%2,%3")
                .arg(text->text())
                .arg(text->selectionStart() < 0 ? text->cursorPosition() : text->selectionStart())
                .arg(text->selectedText().size());
        if (kind == "rich") {
            const QTextCursor c = rich->textCursor();
            return QStringLiteral("%1|%2,%3")
                .arg(rich->text())
                .arg(c.selectionStart())
                .arg(c.selectionEnd() - c.selectionStart());
        }
        if (kind == "combo")
            return QStringLiteral("%1|%2").arg(combo->currentText()).arg(combo->lineEdit()->selectedText());
        if (kind == "picture box")
            return pictureText(pictureBox->picture());
        if (kind == "image")
            return pictureText(image->pixmap());
        if (kind == "list") {
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            return items.join(QLatin1Char(','));
        }
        return date->date().toString(Qt::ISODate);
    }
};

} // namespace

class TestEdit : public QObject {
    Q_OBJECT
private slots:
    void init() { gActiveControl = nullptr; }

    void commandByKind_data();
    void commandByKind();
    void selectAllTakesTheWholeText();
    void nothingHappensWithoutAnActiveControl();
    void pasteIntoRichTextReplacesOnlyTheSelection();
    void formatCommandsOnTheSelection();
    void formatCommandsLeaveOtherKindsAlone();
    void readOnlyTextIsNotChanged();
    void activeControlFollowsTheFocus();
};

void TestEdit::commandByKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("pictureOnClipboard"); // else the text "CLIP"
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("focus");

    auto row = [](const char *kind, const char *command, bool pic, const char *state, const char *clipboard,
                  bool focus) {
        QTest::addRow("%s %s", kind, command)
            << QString(kind) << QString(command) << pic << QString::fromUtf8(state) << QString(clipboard) << focus;
    };
    row("text", "copy", false, "Hello world|6,5", "text world", true);
    row("text", "cut", false, "Hello |6,0", "text world", true);
    row("text", "paste", false, "Hello CLIP|10,0", "text CLIP", true);
    row("text", "delete", false, "Hello |6,0", "text CLIP", true);
    row("text", "select all", false, "Hello world|0,11", "text CLIP", true);

    row("rich", "copy", false, "Hello world|6,5", "text world", true);
    row("rich", "cut", false, "Hello |6,0", "text world", true);
    row("rich", "paste", false, "Hello CLIP|10,0", "text CLIP", true); // the selection only
    row("rich", "delete", false, "Hello |6,0", "text CLIP", true);
    row("rich", "select all", false, "Hello world|0,11", "text CLIP", true);

    row("combo", "copy", false, "Male|", "text Male", true);
    row("combo", "cut", false, "|", "text Male", true);
    row("combo", "paste", false, "CLIP|", "text CLIP", true); // the whole text
    row("combo", "delete", false, "|", "text CLIP", true);
    row("combo", "select all", false, "Male|Male", "text CLIP", true);

    row("picture box", "copy", true, "10x10", "picture 10x10", true);
    row("picture box", "cut", true, "none", "picture 10x10", true);
    row("picture box", "paste", true, "20x20", "picture 20x20", false);
    row("picture box", "paste", false, "10x10", "text CLIP", false); // no picture to paste
    row("picture box", "delete", true, "none", "picture 20x20", true);
    row("picture box", "select all", true, "10x10", "picture 20x20", false);

    row("image", "copy", true, "10x10", "empty", false);
    row("image", "cut", true, "10x10", "empty", false);
    row("image", "paste", true, "20x20", "picture 20x20", false);
    row("image", "delete", true, "10x10", "picture 20x20", false);

    row("list", "copy", false, "a,b,c", "text b", true);
    row("list", "cut", false, "a,c", "text b", true);
    row("list", "paste", false, "a,b,c,CLIP", "text CLIP", true);
    row("list", "delete", false, "a,c", "text CLIP", true);
    row("list", "select all", false, "a,b,c", "text CLIP", false);

    row("other", "copy", false, "2020-01-02", "empty", true);
    row("other", "cut", false, "2020-01-02", "empty", true);
    row("other", "paste", false, "2020-01-02", "text CLIP", false);
    row("other", "delete", false, "2020-01-02", "text CLIP", true);
    row("other", "select all", false, "2020-01-02", "text CLIP", false);
}

void TestEdit::commandByKind()
{
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QFETCH(bool, pictureOnClipboard);
    QFETCH(QString, state);
    QFETCH(QString, clipboard);
    QFETCH(bool, focus);

    Fixture f;
    f.reset();
    if (pictureOnClipboard)
        clip()->setPixmap(picture(20));
    else
        clip()->setText(QStringLiteral("CLIP"));
    QWidget *c = f.byKind(kind);

    if (command == "copy")
        subEditCopy(&f.window, c);
    else if (command == "cut")
        subEditCut(&f.window, c);
    else if (command == "paste")
        subEditPaste(c);
    else if (command == "delete")
        subEditDelete(c);
    else
        subEditSelectAll(c);

    QCOMPARE(f.state(kind), state);
    QCOMPARE(clipText(), clipboard);
    QCOMPARE(QApplication::focusWidget() == c || (c->focusProxy() && QApplication::focusWidget() == c->focusProxy())
                 || (QApplication::focusWidget() && c->isAncestorOf(QApplication::focusWidget())),
             focus);
}

void TestEdit::selectAllTakesTheWholeText()
{
    Fixture f;
    f.text->setText(QStringLiteral("  abc  "));
    subEditSelectAll(f.text);
    QCOMPARE(f.text->selectedText(), QStringLiteral("  abc  ")); // blanks and all
}

void TestEdit::nothingHappensWithoutAnActiveControl()
{
    clip()->setText(QStringLiteral("kept"));
    QVERIFY(gActiveControl.isNull());
    QWidget window;
    RecordMenuItems items;
    funRecordMenuBar(&window, RecordMenuKeys::Plain, items);
    for (int id : items.editItems())
        QVERIFY(funEditMenuItem(nullptr, items, id));
    // The window's own items are left to the window.
    QVERIFY(!funEditMenuItem(nullptr, items, items.undo));
    QVERIFY(!funEditMenuItem(nullptr, items, 0));
    subFormatBold(nullptr);
    subFormatIndent(nullptr);
    QCOMPARE(clip()->text(), QStringLiteral("kept"));
}

void TestEdit::pasteIntoRichTextReplacesOnlyTheSelection()
{
    Fixture f;
    f.rich->setTextRTF(QStringLiteral("{\\rtf1 Feed \\b twice\\b0  a day.\\par\\li250 Never \\i chocolate\\i0 .}"));
    const QString note = f.rich->textRTF();
    auto *mime = new QMimeData;
    mime->setData(VbRichTextBox::rtfMimeType(), "{\\rtf1 \\ul three times}");
    clip()->setMimeData(mime);

    QTextCursor c = f.rich->textCursor();
    c.setPosition(5);
    c.setPosition(10, QTextCursor::KeepAnchor); // "twice"
    f.rich->setTextCursor(c);
    gActiveControl = f.rich;
    RecordMenuItems items;
    funRecordMenuBar(&f.window, RecordMenuKeys::Plain, items);
    QVERIFY(funEditMenuItem(&f.window, items, items.paste));

    QCOMPARE(f.rich->text(), QStringLiteral("Feed three times a day.\nNever chocolate."));
    QTextCursor at(f.rich->document());
    at.setPosition(7);
    QVERIFY(at.charFormat().fontUnderline());
    at.setPosition(23 + 1 + 8);
    QVERIFY(at.charFormat().fontItalic()); // the rest keeps its formatting
    QCOMPARE(qRound(f.rich->document()->lastBlock().blockFormat().leftMargin() * rtf::kTwipsPerPixel), 250);
    QVERIFY(f.rich->textRTF() != note);

    // Undo brings the note back whole.
    f.rich->undo();
    QCOMPARE(f.rich->textRTF(), note);
}

void TestEdit::formatCommandsOnTheSelection()
{
    Fixture f;
    f.rich->setTextRTF(QStringLiteral("{\\rtf1 one \\b two\\b0\\par three}"));
    QTextCursor c = f.rich->textCursor();
    c.setPosition(0);
    c.setPosition(7, QTextCursor::KeepAnchor); // "one two": half bold
    f.rich->setTextCursor(c);
    auto charAt = [&](int pos) {
        QTextCursor at(f.rich->document());
        at.setPosition(pos + 1);
        return at.charFormat();
    };

    f.elsewhere->setFocus();
    subFormatBold(f.rich);
    QVERIFY(f.rich->hasFocus());
    QVERIFY(charAt(0).fontWeight() >= QFont::Bold); // a mixed selection becomes bold
    subFormatBold(f.rich);
    QVERIFY(charAt(0).fontWeight() < QFont::Bold && charAt(5).fontWeight() < QFont::Bold);

    subFormatItalic(f.rich);
    subFormatUnderline(f.rich);
    QVERIFY(charAt(2).fontItalic() && charAt(2).fontUnderline());
    QVERIFY(!charAt(9).fontItalic()); // "three" lies outside the selection
    subFormatItalic(f.rich);
    QVERIFY(!charAt(2).fontItalic() && charAt(2).fontUnderline());

    auto indent = [&] { return qRound(f.rich->document()->begin().blockFormat().leftMargin() * rtf::kTwipsPerPixel); };
    subFormatIndent(f.rich);
    subFormatIndent(f.rich);
    QCOMPARE(indent(), 500);
    subFormatOutdent(f.rich);
    QCOMPARE(indent(), 250);
    subFormatOutdent(f.rich);
    subFormatOutdent(f.rich); // refused at 0
    QCOMPARE(indent(), 0);
    QCOMPARE(f.rich->text(), QStringLiteral("one two\nthree"));
}

void TestEdit::formatCommandsLeaveOtherKindsAlone()
{
    Fixture f;
    f.text->setText(QStringLiteral("plain"));
    f.elsewhere->setFocus();
    for (auto command : {subFormatBold, subFormatItalic, subFormatUnderline, subFormatIndent, subFormatOutdent})
        command(f.text);
    QCOMPARE(f.text->text(), QStringLiteral("plain"));
    QVERIFY(f.elsewhere->hasFocus());
}

void TestEdit::readOnlyTextIsNotChanged()
{
    Fixture f;
    f.reset();
    f.text->setReadOnly(true);
    f.rich->setReadOnly(true);
    clip()->setText(QStringLiteral("CLIP"));
    for (QWidget *c : std::initializer_list<QWidget *>{f.text, f.rich}) {
        subEditPaste(c);
        subEditDelete(c);
        subEditCut(&f.window, c);
    }
    QCOMPARE(f.text->text(), QStringLiteral("Hello world"));
    QCOMPARE(f.rich->text(), QStringLiteral("Hello world"));
    QCOMPARE(clip()->text(), QStringLiteral("world")); // copying is still allowed
}

void TestEdit::activeControlFollowsTheFocus()
{
    auto *f = new Fixture;
    RecordMenuItems record;
    auto &menu = *funRecordMenuBar(&f->window, RecordMenuKeys::Plain, record);
    const int bold = menu.addItem(QStringLiteral("Bold"), {}, {}, CtToolBar::MenuEntry);
    const int indent = menu.addItem(QStringLiteral("Indent"), {}, {}, CtToolBar::MenuEntry);
    auto &tools = *new CtToolBar(CtToolBar::Mode::ToolBar, &f->window);
    const int boldButton = tools.addItem(QStringLiteral("Bold"));
    const int indentButton = tools.addItem(QStringLiteral("Indent"));
    LocalMenuItems items;
    items.menuBar = &menu;
    items.editItems = record.editItems();
    items.formatItems = {bold, indent};
    items.toolBar = &tools;
    items.formatButtons = {boldButton, indentButton};
    int calls = 0;
    subWatchFocus({f->text, f->rich, f->combo, f->date, nullptr}, [&] {
        ++calls;
        subSetLocalMenus(&f->window, items);
    });
    auto enabled = [&] {
        QString s;
        for (int id : {record.cut, record.deleteText, bold, indent})
            s += menu.itemEnabled(id) ? QLatin1Char('1') : QLatin1Char('0');
        s += QLatin1Char('/');
        for (int id : {boldButton, indentButton})
            s += tools.itemEnabled(id) ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };

    f->rich->setFocus();
    QCOMPARE(gActiveControl.data(), f->rich);
    QCOMPARE(enabled(), QStringLiteral("1111/11"));

    f->combo->lineEdit()->setFocus(); // the combo box, not its line edit
    QCOMPARE(gActiveControl.data(), f->combo);
    QCOMPARE(enabled(), QStringLiteral("1100/00"));

    f->date->setFocus();
    QCOMPARE(gActiveControl.data(), f->date);
    QCOMPARE(enabled(), QStringLiteral("0000/00"));

    const int before = calls;
    f->elsewhere->setFocus(); // not watched: the active control stays
    QCOMPARE(calls, before);
    QCOMPARE(gActiveControl.data(), f->date);

    subUpdateFieldButtons(items, nullptr); // nothing changes
    QCOMPARE(enabled(), QStringLiteral("0000/00"));

    // The window goes: the commands have nothing to act on.
    f->text->setFocus();
    QCOMPARE(gActiveControl.data(), f->text);
    clip()->setText(QStringLiteral("kept"));
    delete f;
    QVERIFY(gActiveControl.isNull());
    QVERIFY(funEditMenuItem(nullptr, record, record.copy));
    QCOMPARE(clip()->text(), QStringLiteral("kept"));
}

ZORBI_TEST_MAIN(TestEdit)
#include "tst_edit.moc"
