#pragma once
// The data-bound combo box: its list is one field (the list field) of the rows
// of a lookup data control, its value (BoundText) another field of the same
// row (the bound column), which a data control stores. With both the same (a
// breed, a category) the value is the text in the box; with a bound column of
// its own (shows contact_name, stores contact_id) the value is the chosen
// row's id, Null when the text names no row.
//
// Style 0 is the editable drop-down (free text), 2 a drop-down list. Qt's own completion and insertion are off: the
// lookup list is the list, and completing is the key-press handler's work (subComboAutoComplete).
//
// A stored id that no row of the list has (a person deleted meanwhile) shows
// an empty box and stays the value until the user chooses, so saving the row
// never changes it by itself. A typed text that names no row (with a bound
// column of its own) makes the value Null but stays in the box, also across a
// refresh of the list, until the user or a load changes it; the window reads
// it with unmatchedText() and tells the user before it writes anything. The list follows its data control: after a
// refresh of the lookup the box shows the same value again.

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QVariant>

#include "platform/controls/data_control.h"

class QStringListModel;

class DbCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QVariant boundText READ BoundText WRITE setBoundText NOTIFY boundTextChanged USER true)
public:
    explicit DbCombo(QWidget *parent = nullptr);

    void setRowSource(DataControl *lookup);
    DataControl *RowSource() const { return m_source; }
    void setListField(const QString &field);
    QString ListField() const { return m_listField; }
    // "" (the default) means the list field.
    void setBoundColumn(const QString &field);
    QString BoundColumn() const { return m_boundColumn.isEmpty() ? m_listField : m_boundColumn; }

    // 0 editable drop-down, 2 drop-down list.
    int Style() const { return isEditable() ? 0 : 2; }
    void setStyle(int style);
    using QWidget::setStyle;

    QVariant BoundText() const;
    void setBoundText(const QVariant &value);

    // The text in the box. Setting it picks the list row with that text (case
    // does not matter) and so the bound value; in the editable style a text
    // that no row has stays as typed.
    QString Text() const { return currentText(); }
    void setText(const QString &text);
    int SelStart() const;
    int SelLength() const;
    void setSel(int start, int length);

    // The row of the lookup that the box's value names, -1 for none.
    int selectedRow() const;

    // With a bound column of its own: the text the user typed that names no
    // row of the list ("" when it names one, or the box is empty).
    QString unmatchedText() const { return m_unmatched; }

signals:
    void boundTextChanged();
    // A typed character, as its character code (8 Backspace, 13 Enter, 2 for
    // Ctrl+B ...); setting it to 0 swallows the key, another code types that.
    void keyPress(int &keyAscii);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rebuild();
    void showValue();
    void userEdited();
    void userPicked(int index);
    int rowOfText(const QString &text) const;
    int rowOfValue(const QVariant &value) const;
    QVariant rowValue(int row) const;
    bool separateColumns() const;

    QStringListModel *m_items;
    QPointer<DataControl> m_source;
    QString m_listField, m_boundColumn;
    QVariant m_value;
    QString m_unmatched;
    int m_quiet = 0;
};

class QComboBox;

// Completes what the user types into an editable combo from the list field
// of `lookup`: after a typed character the first value that begins with the
// text before the caret plus that character (compared as it is, without
// regard to case) fills the box, the part not typed is selected, and the key
// is swallowed (keyAscii = 0). Without a match, and for Backspace, the key is
// left to the box. The lookup is left on the matching row. Esc while the
// suggestion stands removes its suggested rest (the key is swallowed), so
// the box keeps only what was typed.
void subComboAutoComplete(QComboBox *combo, DataControl *lookup, const QString &listField, int &keyAscii);
