#include "platform/controls/db_combo.h"

#include "platform/controls/data_control.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace {

// The suggestion the auto-complete last put into a box, where the typed part
// of it ends, and the text as the user typed it.
constexpr const char *kSuggestedText = "zbSuggestedText";
constexpr const char *kSuggestedFrom = "zbSuggestedFrom";
constexpr const char *kTypedText = "zbTypedText";

// The character code a key press types, as the key-press event reports it;
// 0 for a key that types nothing.
int keyAsciiOf(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0;
    default: break;
    }
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    const QString text = e->text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

} // namespace

DbCombo::DbCombo(QWidget *parent) : QComboBox(parent), m_items(new QStringListModel(this))
{
    setModel(m_items);
    setInsertPolicy(QComboBox::NoInsert);
    setStyle(0);
    installEventFilter(this);
    connect(this, &QComboBox::currentIndexChanged, this, &DbCombo::userPicked);
    connect(this, &QComboBox::editTextChanged, this, &DbCombo::userEdited);
}

void DbCombo::setStyle(int style)
{
    setEditable(style == 0);
    if (QLineEdit *line = lineEdit()) {
        setCompleter(nullptr);
        line->installEventFilter(this);
    }
    showValue();
}

void DbCombo::setRowSource(DataControl *lookup)
{
    if (m_source)
        disconnect(m_source->model(), nullptr, this, nullptr);
    m_source = lookup;
    if (lookup) {
        QAbstractItemModel *m = lookup->model();
        connect(m, &QAbstractItemModel::modelReset, this, &DbCombo::rebuild);
        connect(m, &QAbstractItemModel::rowsInserted, this, &DbCombo::rebuild);
        connect(m, &QAbstractItemModel::rowsRemoved, this, &DbCombo::rebuild);
        connect(m, &QAbstractItemModel::dataChanged, this, &DbCombo::rebuild);
    }
    rebuild();
}

void DbCombo::setListField(const QString &field)
{
    m_listField = field;
    rebuild();
}

void DbCombo::setBoundColumn(const QString &field)
{
    m_boundColumn = field;
    rebuild();
}

bool DbCombo::separateColumns() const
{
    return !m_boundColumn.isEmpty() && m_boundColumn.compare(m_listField, Qt::CaseInsensitive) != 0;
}

QVariant DbCombo::rowValue(int row) const { return m_source ? m_source->value(row, BoundColumn()) : QVariant(); }

int DbCombo::rowOfText(const QString &text) const
{
    // Straight from the list the box holds: a long list (the address book) is
    // looked through at every load and every typed character.
    const QStringList items = m_items->stringList();
    for (qsizetype r = 0; r < items.size(); ++r) {
        if (items.at(r).compare(text, Qt::CaseInsensitive) == 0)
            return int(r);
    }
    return -1;
}

int DbCombo::rowOfValue(const QVariant &value) const
{
    if (!separateColumns())
        return value.isNull() ? -1 : rowOfText(value.toString());
    // Null is no one's value (db::sameValue).
    if (value.isNull() || !m_source)
        return -1;
    const int column = m_source->fieldIndex(BoundColumn());
    const int rows = qMin(count(), m_source->recordCount());
    for (int r = 0; column >= 0 && r < rows; ++r) {
        if (db::sameValue(m_source->valueAt(r, column), value))
            return r;
    }
    return -1;
}

int DbCombo::selectedRow() const { return rowOfValue(m_value); }

void DbCombo::rebuild()
{
    // The list is handed over whole: a long list (every person of the address
    // book) added one item at a time costs the combo a signal and a layout
    // per item.
    QStringList items;
    if (m_source) {
        const int rows = m_source->recordCount();
        const int column = m_source->fieldIndex(m_listField);
        items.reserve(rows);
        for (int r = 0; column >= 0 && r < rows; ++r) {
            const QVariant &v = m_source->valueAt(r, column);
            items << (v.isNull() ? QString() : v.toString());
        }
    }
    ++m_quiet;
    m_items->setStringList(items);
    --m_quiet;
    showValue();
}

void DbCombo::showValue()
{
    ++m_quiet;
    const int row = rowOfValue(m_value);
    setCurrentIndex(row);
    if (isEditable() && row < 0) {
        if (separateColumns())
            setEditText(m_value.isNull() ? m_unmatched : QString());
        else
            setEditText(m_value.isNull() ? QString() : m_value.toString());
    }
    --m_quiet;
}

QVariant DbCombo::BoundText() const { return m_value; }

void DbCombo::setBoundText(const QVariant &value)
{
    m_value = value;
    m_unmatched.clear();
    showValue();
    emit boundTextChanged();
}

void DbCombo::setText(const QString &text)
{
    const int row = rowOfText(text);
    if (row < 0 && !isEditable())
        return;
    ++m_quiet;
    if (row >= 0) {
        setCurrentIndex(row);
        m_value = separateColumns() ? rowValue(row) : QVariant(itemText(row));
        m_unmatched.clear();
    } else {
        setCurrentIndex(-1);
        setEditText(text);
        m_value = separateColumns() ? QVariant() : QVariant(text);
        m_unmatched = separateColumns() ? text.trimmed() : QString();
    }
    --m_quiet;
    emit boundTextChanged();
}

void DbCombo::userEdited()
{
    if (m_quiet)
        return;
    const QString text = currentText();
    if (separateColumns()) {
        const int row = rowOfText(text.trimmed());
        m_value = row >= 0 ? rowValue(row) : QVariant();
        m_unmatched = row >= 0 ? QString() : text.trimmed();
    } else {
        m_value = text;
    }
    emit boundTextChanged();
}

void DbCombo::userPicked(int index)
{
    if (m_quiet || index < 0)
        return;
    m_value = separateColumns() ? rowValue(index) : QVariant(itemText(index));
    m_unmatched.clear();
    emit boundTextChanged();
}

int DbCombo::SelStart() const
{
    const QLineEdit *line = lineEdit();
    if (!line)
        return 0;
    return line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
}

int DbCombo::SelLength() const
{
    const QLineEdit *line = lineEdit();
    return line && line->hasSelectedText() ? int(line->selectedText().size()) : 0;
}

void DbCombo::setSel(int start, int length)
{
    if (QLineEdit *line = lineEdit())
        line->setSelection(start, length);
}

bool DbCombo::eventFilter(QObject *watched, QEvent *event)
{
    // Keys reach the box itself, which hands them to its line edit directly; a
    // key sent to the line edit itself is seen there.
    const bool mine = watched == this || (lineEdit() && watched == lineEdit());
    if (mine && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int typed = keyAsciiOf(key);
        if (typed != 0) {
            int keyAscii = typed;
            emit keyPress(keyAscii);
            if (keyAscii == 0)
                return true;
            if (keyAscii != typed && lineEdit()) {
                lineEdit()->insert(QString(QChar(keyAscii)));
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void subComboAutoComplete(QComboBox *combo, DataControl *lookup, const QString &listField, int &keyAscii)
{
    if (!combo || !lookup || !combo->isEditable() || !combo->lineEdit())
        return;
    QLineEdit *line = combo->lineEdit();
    // Esc while a suggestion is shown takes the suggested rest back out, so
    // the box holds what the user typed and nothing more.
    if (keyAscii == 27) {
        const QVariant suggested = line->property(kSuggestedText);
        const int typedLength = line->property(kSuggestedFrom).toInt();
        if (suggested.isValid() && line->text() == suggested.toString() && line->hasSelectedText()
            && line->selectionStart() == typedLength && line->selectionEnd() == int(line->text().size())) {
            const QString typed = line->property(kTypedText).toString();
            combo->setEditText(typed);
            line->setCursorPosition(int(typed.size()));
            line->setProperty(kSuggestedText, QVariant());
            keyAscii = 0;
        }
        return;
    }
    // Backspace and the other control keys are the box's own: Backspace
    // deletes one character (or the suggested rest) and nothing is completed.
    if (keyAscii < 32)
        return;
    const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    // What the user typed, taken as it is: no character has a meaning of its own.
    const QString typed = line->text().left(start) + QChar(keyAscii);
    const int column = lookup->fieldIndex(listField);
    if (column < 0)
        return;
    for (int row = 0; row < lookup->recordCount(); ++row) {
        const QVariant v = lookup->value(row, column);
        if (v.isNull())
            continue;
        const QString value = v.toString();
        if (!value.startsWith(typed, Qt::CaseInsensitive))
            continue;
        lookup->moveTo(row);
        combo->setEditText(value);
        line->setSelection(start + 1, int(value.size()) - (start + 1));
        line->setProperty(kSuggestedText, value);
        line->setProperty(kSuggestedFrom, start + 1);
        line->setProperty(kTypedText, typed);
        keyAscii = 0;
        return;
    }
}
