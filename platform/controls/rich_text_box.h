#pragma once
// The rich text box: a note the user formats. It holds its text as RTF (the
// property `textRTF`, which is what a bound field reads and writes) and offers
// the plain text for the copies that searches and lists use.
//
// The format commands act on the selection, or on what is typed next when
// nothing is selected: bold, italic and underline are read as set only when the
// whole selection has them, so a toggle on a mixed selection sets the style.
// The indent is the left indent of each selected paragraph, in twips; an
// indent below 0 is refused and leaves that paragraph where it is.
//
// Paste replaces the selection, with the clipboard's formatting when it has
// any (RTF or HTML); Copy puts the selection on the clipboard as RTF, HTML and
// plain text. The box handles Ctrl+B (toggle bold) itself, so a window need
// not. Tab moves to the next field; a tab character comes in by pasting.

#include <QTextEdit>

class VbRichTextBox : public QTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString textRTF READ textRTF WRITE setTextRTF NOTIFY textRTFChanged USER true)
public:
    explicit VbRichTextBox(QWidget *parent = nullptr);

    // "" when the box is empty. Setting it replaces the whole text, forgets the
    // undo history and raises textRTFChanged like a typed change.
    QString textRTF() const;
    void setTextRTF(const QString &rtf);

    // The plain text, paragraphs joined by "\n".
    QString text() const;

    bool selBold() const;
    void setSelBold(bool on);
    bool selItalic() const;
    void setSelItalic(bool on);
    bool selUnderline() const;
    void setSelUnderline(bool on);
    // The left indent of the first selected paragraph, in twips.
    int selIndent() const;
    // Moves every selected paragraph's left indent by `twips`.
    void shiftSelIndent(int twips);

    // The MIME type of RTF on the clipboard.
    static QString rtfMimeType();

signals:
    void textRTFChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    // True when every character of the selection (or the typing format when
    // nothing is selected) passes `test`.
    template <typename Test> bool selectionHas(Test test) const;
};
