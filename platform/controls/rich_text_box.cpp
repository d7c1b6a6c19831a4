#include "platform/controls/rich_text_box.h"
#include "platform/rtf.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {
// Other programs name RTF on the clipboard in one of these.
const char *const kRtfTypes[] = {"text/rtf", "application/rtf", "text/richtext"};
} // namespace

VbRichTextBox::VbRichTextBox(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    // Tab moves on to the window's next field, as in every other box of a form.
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, &VbRichTextBox::textRTFChanged);
}

QString VbRichTextBox::rtfMimeType() { return QStringLiteral("text/rtf"); }

QString VbRichTextBox::textRTF() const
{
    if (document()->isEmpty())
        return {};
    return rtf::write(document());
}

void VbRichTextBox::setTextRTF(const QString &text)
{
    QTextDocument *doc = document();
    doc->setUndoRedoEnabled(false);
    if (text.isEmpty())
        doc->clear();
    else
        rtf::read(text, doc);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    QTextCursor start(doc);
    setTextCursor(start);
}

QString VbRichTextBox::text() const { return toPlainText(); }

template <typename Test> bool VbRichTextBox::selectionHas(Test test) const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return test(c.charFormat());
    const int from = c.selectionStart(), to = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int fEnd = f.position() + f.length();
            if (fEnd <= from || f.position() >= to)
                continue;
            if (!test(f.charFormat()))
                return false;
        }
    }
    return true;
}

bool VbRichTextBox::selBold() const
{
    return selectionHas([](const QTextCharFormat &f) { return f.fontWeight() >= QFont::DemiBold; });
}

void VbRichTextBox::setSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(f);
}

bool VbRichTextBox::selItalic() const
{
    return selectionHas([](const QTextCharFormat &f) { return f.fontItalic(); });
}

void VbRichTextBox::setSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeCurrentCharFormat(f);
}

bool VbRichTextBox::selUnderline() const
{
    return selectionHas([](const QTextCharFormat &f) { return f.fontUnderline(); });
}

void VbRichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeCurrentCharFormat(f);
}

int VbRichTextBox::selIndent() const
{
    const QTextCursor c = textCursor();
    const QTextBlock b = document()->findBlock(c.selectionStart());
    return int(qRound(b.blockFormat().leftMargin() * rtf::kTwipsPerPixel));
}

void VbRichTextBox::shiftSelIndent(int twips)
{
    const QTextCursor sel = textCursor();
    QTextCursor c(document());
    c.beginEditBlock();
    const QTextBlock last = document()->findBlock(sel.selectionEnd());
    for (QTextBlock b = document()->findBlock(sel.selectionStart()); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        const int now = int(qRound(f.leftMargin() * rtf::kTwipsPerPixel));
        const int wanted = now + twips;
        if (wanted >= 0) {
            f.setLeftMargin(wanted / rtf::kTwipsPerPixel);
            c.setPosition(b.position());
            c.setBlockFormat(f);
        }
        if (b == last)
            break;
    }
    c.endEditBlock();
}

void VbRichTextBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_B && event->modifiers() == Qt::ControlModifier) {
        setSelBold(!selBold());
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool VbRichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    for (const char *type : kRtfTypes)
        if (source->hasFormat(QLatin1String(type)))
            return true;
    return QTextEdit::canInsertFromMimeData(source);
}

void VbRichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly())
        return;
    for (const char *type : kRtfTypes) {
        const QByteArray data = source->data(QLatin1String(type));
        if (data.isEmpty())
            continue;
        // RTF is 7-bit text; what is not ASCII in it is read as Latin-1 bytes.
        const QString text = QString::fromLatin1(data);
        if (!rtf::isRtf(text))
            continue;
        QTextDocument pasted;
        pasted.setDefaultFont(document()->defaultFont());
        rtf::read(text, &pasted);
        QTextCursor c = textCursor();
        c.insertFragment(QTextDocumentFragment(&pasted));
        setTextCursor(c);
        ensureCursorVisible();
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

QMimeData *VbRichTextBox::createMimeDataFromSelection() const
{
    const QTextDocumentFragment selection = textCursor().selection();
    auto *data = new QMimeData;
    data->setText(selection.toPlainText());
    data->setHtml(selection.toHtml());
    data->setData(rtfMimeType(), rtf::write(selection, document()->defaultFont()).toLatin1());
    return data;
}
