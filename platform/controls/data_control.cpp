#include "platform/controls/data_control.h"

#include "platform/dates.h"
#include "platform/dialogs.h"

#include <algorithm>
#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>

// The rows of a data control as a table model; the control tells it of every
// change before and after it makes it.
class DataRecordModel : public QAbstractTableModel {
public:
    explicit DataRecordModel(DataControl *owner) : QAbstractTableModel(owner), m_dc(owner) {}

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_dc->recordCount(); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_dc->fieldNames().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return m_dc->value(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
            && section < m_dc->fieldNames().size())
            return m_dc->fieldNames().at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void resetBegin() { beginResetModel(); }
    void resetEnd() { endResetModel(); }
    void insertBegin(int row) { beginInsertRows({}, row, row); }
    void insertEnd() { endInsertRows(); }
    void removeBegin(int row) { beginRemoveRows({}, row, row); }
    void removeEnd() { endRemoveRows(); }
    void rowChanged(int row)
    {
        if (columnCount() > 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }

private:
    DataControl *m_dc;
};

using db::quoteIdentifier;

namespace {

// Engine numbers this control raises beyond those of the database layer.
constexpr int kErrRecordDeleted = 3167;
constexpr int kErrActionCancelled = 3426;

const QString kNoCurrentRecord = QStringLiteral("No current record.");

std::function<db::Database *(const QString &)> &resolver()
{
    static std::function<db::Database *(const QString &)> r;
    return r;
}

bool isIdentifier(const QString &text)
{
    static const QRegularExpression id(QStringLiteral(R"(^\s*[A-Za-z_][A-Za-z0-9_]*\s*$)"));
    return id.match(text).hasMatch();
}

// The table or view the statement reads first.
QString fromObject(const QString &sql)
{
    static const QRegularExpression from(QStringLiteral(R"(\bFROM\s+("?)([A-Za-z_][A-Za-z0-9_]*)\1)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = from.match(sql);
    return m.hasMatch() ? m.captured(2) : QString();
}

// SQLite's column affinity rules, as far as this control needs them.
bool numericAffinity(const QString &declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return true;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT"))
        || t.contains(QLatin1String("BLOB")) || t.isEmpty())
        return false;
    return true;
}

int declaredLength(const QString &declared)
{
    static const QRegularExpression width(QStringLiteral(R"(CHAR\s*\(\s*(\d+)\s*\))"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = width.match(declared);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Any non-zero number, or the text "True", reads as True.
bool truthValue(const QVariant &v)
{
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok)
        return d != 0;
    return v.toString().trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// What a control's value becomes in the file.
QVariant storable(const QVariant &v, bool numericColumn)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().isValid() ? QVariant(dbDate(v.toDate())) : QVariant();
    case QMetaType::QTime: return v.toTime().isValid() ? QVariant(dbTime(v.toTime())) : QVariant();
    case QMetaType::QDateTime: return v.toDateTime().isValid() ? QVariant(dbDateTime(v.toDateTime())) : QVariant();
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    case QMetaType::QString:
        if (numericColumn && v.toString().trimmed().isEmpty())
            return {};
        return v;
    default: return v;
    }
}

// A stored value in the type of the control's property.
QVariant forProperty(const QVariant &v, int propertyType)
{
    switch (propertyType) {
    case QMetaType::QString: return v.isNull() ? QString() : v.toString();
    case QMetaType::Bool: return truthValue(v);
    case QMetaType::QDate: return dateFromDb(v);
    case QMetaType::QTime: return timeFromDb(v);
    case QMetaType::QDateTime: return dateTimeFromDb(v);
    default: return v;
    }
}

// Keeps a multi-line box within `limit` characters: what goes over is taken
// off where the user typed or pasted it.
void limitPlainText(QPlainTextEdit *box, int limit)
{
    const int excess = box->document()->characterCount() - 1 - limit;
    if (excess <= 0)
        return;
    QTextCursor c = box->textCursor();
    if (c.position() >= excess) {
        c.clearSelection();
        c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, excess);
    } else {
        c.movePosition(QTextCursor::End);
        c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, excess);
    }
    c.removeSelectedText();
}

} // namespace

struct DataControl::Binding {
    QPointer<QWidget> control;
    QString field;
    bool isLabel = false;
    QMetaProperty property;
    bool changed = false;
    QString labelText;     // a label's text as last loaded
    int limit = 0;         // the column's width, 0 none
    int minimumLength = 0; // the least the control takes, whatever the column says
    std::function<QVariant(const QVariant &)> toControl, toField;
    QMetaObject::Connection notify, limiter;
};

// ---------------------------------------------------------------- set-up

DataControl::DataControl(QObject *parent) : QObject(parent), m_model(new DataRecordModel(this)) {}

DataControl::~DataControl()
{
    for (Binding *b : m_bindings) {
        QObject::disconnect(b->notify);
        QObject::disconnect(b->limiter);
        delete b;
    }
}

void DataControl::setDatabase(db::Database *database) { m_database = database; }

void DataControl::setDatabaseName(const QString &path)
{
    m_databaseName = path;
    m_database = nullptr;
}

void DataControl::setDatabaseResolver(std::function<db::Database *(const QString &)> r) { resolver() = std::move(r); }

db::Database *DataControl::database()
{
    if (m_database)
        return m_database;
    if (!m_databaseName.isEmpty() && resolver())
        return resolver()(m_databaseName);
    return nullptr;
}

void DataControl::setRecordSource(const QString &source, const QVariantList &params)
{
    m_source = source;
    m_params = params;
}

void DataControl::setBaseTable(const QString &table, const QString &key)
{
    m_explicitTable = table;
    m_explicitKey = key;
}

bool DataControl::isReadOnly() const { return m_readOnly || m_baseTable.isEmpty(); }

QAbstractItemModel *DataControl::model() const { return m_model; }

bool DataControl::fail(int number, const QString &description)
{
    m_error = {number, description};
    return false;
}

void DataControl::watchWindow()
{
    auto *w = qobject_cast<QWidget *>(parent());
    QWidget *win = w ? w->window() : nullptr;
    if (win == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = win;
    if (win)
        win->installEventFilter(this);
}

// ---------------------------------------------------------------- reading

// A view writes to the one table whose columns it shows in full; "" when no
// table, or more than one, does.
QString DataControl::tableShownInFull(db::Database *d) const
{
    auto rs = d->openRecordset(
        QStringLiteral("SELECT m.name, p.name FROM sqlite_master AS m JOIN pragma_table_info(m.name) AS p "
                       "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' ORDER BY m.name"));
    QStringList complete;
    QString current;
    bool all = false;
    for (; rs && !rs->isEOF(); rs->moveNext()) {
        const QString table = rs->field(0).toString();
        if (table != current) {
            if (all)
                complete << current;
            current = table;
            all = true;
        }
        all = all && hasField(rs->field(1).toString());
    }
    if (all)
        complete << current;
    return complete.size() == 1 ? complete.first() : QString();
}

bool DataControl::readSchema(db::Database *d)
{
    const int n = int(m_fields.size());
    m_writable.assign(n, false);
    m_numeric.assign(n, false);
    m_maxLength.assign(n, 0);
    m_defaults.clear();
    m_baseTable.clear();
    m_keyField.clear();
    // The base table's columns: name, type, pk, default.
    std::unique_ptr<db::Recordset> cols;
    if (!m_explicitTable.isEmpty()) {
        m_baseTable = m_explicitTable;
    } else if (!m_fromObject.isEmpty()) {
        // What the object read is and, for a table, its columns, in one look.
        auto kind = d->openRecordset(
            QStringLiteral("SELECT m.name, m.type, p.name, p.type, p.pk, p.dflt_value FROM sqlite_master AS m "
                           "LEFT JOIN pragma_table_info(m.name) AS p ON m.type = 'table' "
                           "WHERE m.name = ? COLLATE NOCASE"),
            {m_fromObject});
        if (!kind)
            return false;
        if (!kind->isEOF() && kind->field(1).toString() == QLatin1String("table")) {
            m_baseTable = kind->field(0).toString();
            cols = std::move(kind);
        } else if (!kind->isEOF() && kind->field(1).toString() == QLatin1String("view")) {
            m_baseTable = tableShownInFull(d);
        }
    }
    if (m_baseTable.isEmpty())
        return true;

    // Where the columns come first in each row.
    int at = 2;
    if (!cols) {
        cols = d->openRecordset(QStringLiteral("SELECT name, type, pk, dflt_value FROM pragma_table_info(?)"),
                                {m_baseTable});
        at = 0;
    }
    if (!cols)
        return false;
    QStringList keys;
    for (; !cols->isEOF(); cols->moveNext()) {
        const QString name = cols->field(at).toString();
        if (cols->field(at + 2).toInt() > 0)
            keys << name;
        const int i = fieldIndex(name);
        if (i < 0)
            continue;
        const QString type = cols->field(at + 1).toString();
        m_writable[i] = true;
        m_numeric[i] = numericAffinity(type);
        m_maxLength[i] = declaredLength(type);
        if (const QVariant dflt = cols->field(at + 3); !dflt.isNull())
            m_defaults.emplace_back(i, dflt.toString());
    }
    m_keyField = !m_explicitKey.isEmpty() ? m_explicitKey : (keys.size() == 1 ? keys.first() : QString());
    if (m_keyField.isEmpty() || fieldIndex(m_keyField) < 0 || !m_writable[fieldIndex(m_keyField)]) {
        m_baseTable.clear();
        m_keyField.clear();
    } else {
        m_keyField = m_fields.at(fieldIndex(m_keyField));
    }
    return true;
}

bool DataControl::refresh()
{
    watchWindow();
    if (m_inValidate)
        return fail(kErrActionCancelled, QStringLiteral("This action was cancelled."));
    if (!leaveRow(ActionMoveFirst))
        return false;
    m_error = {};
    m_model->resetBegin();
    m_rows.clear();
    m_fields.clear();
    m_pos = -1;
    m_removed = false;
    m_mode = EditNone;
    m_buffer.clear();
    m_set.clear();
    m_fromObject.clear();
    bool ok = true;
    if (!m_source.trimmed().isEmpty()) {
        db::Database *d = database();
        const QString sql =
            isIdentifier(m_source) ? QStringLiteral("SELECT * FROM ") + quoteIdentifier(m_source.trimmed()) : m_source;
        std::unique_ptr<db::Recordset> rs;
        if (!d) {
            ok = fail(db::ErrObjectInvalid, QStringLiteral("Object invalid or no longer set."));
        } else if (!(rs = d->openRecordset(sql, m_params))) {
            m_error = d->lastError();
            ok = false;
        } else {
            m_fields = rs->fieldNames();
            m_rows.reserve(rs->recordCount());
            for (; !rs->isEOF(); rs->moveNext()) {
                Row r;
                r.serial = m_nextSerial++;
                r.values.reserve(m_fields.size());
                for (int c = 0; c < m_fields.size(); ++c)
                    r.values << rs->field(c);
                m_rows.push_back(std::move(r));
            }
            m_fromObject = isIdentifier(m_source) ? m_source.trimmed() : fromObject(sql);
            if (!readSchema(d)) {
                m_error = d->lastError();
                ok = false;
            }
        }
    }
    if (!ok) {
        m_writable.assign(m_fields.size(), false);
        m_numeric.assign(m_fields.size(), false);
        m_maxLength.assign(m_fields.size(), 0);
        m_defaults.clear();
    }
    m_pos = m_rows.empty() ? -1 : 0;
    m_model->resetEnd();
    pushToControls();
    emit reposition();
    return ok;
}

QVariantList DataControl::readBack(db::Database *d, const QVariant &key) const
{
    // Through what the source reads, so that a view's own columns come too.
    for (const QString &from : {m_fromObject, m_baseTable}) {
        if (from.isEmpty())
            continue;
        auto rs = d->openRecordset(
            QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(quoteIdentifier(from), quoteIdentifier(m_keyField)),
            {key});
        if (!rs || rs->isEOF())
            continue;
        QVariantList row;
        for (const QString &f : m_fields)
            row << (rs->hasField(f) ? rs->field(f) : QVariant());
        return row;
    }
    return {};
}

QVariantList DataControl::defaultsForNewRow(db::Database *d) const
{
    QVariantList row(m_fields.size());
    // The defaults as the schema was read with the rows.
    QStringList exprs;
    QList<int> at;
    for (const auto &[i, expression] : m_defaults) {
        exprs << expression;
        at << i;
    }
    if (!exprs.isEmpty()) {
        // The defaults are expressions of the schema itself, never user text.
        auto rs = d->openRecordset(QStringLiteral("SELECT ") + exprs.join(QStringLiteral(", ")));
        for (int k = 0; rs && !rs->isEOF() && k < at.size(); ++k)
            row[at.at(k)] = rs->field(k);
    }
    // The key the row will get: AUTOINCREMENT never hands out a number twice.
    auto next =
        d->openRecordset(QStringLiteral("SELECT max(ifnull((SELECT seq FROM sqlite_sequence WHERE name = ?), 0), "
                                        "ifnull((SELECT max(%1) FROM %2), 0)) + 1")
                             .arg(quoteIdentifier(m_keyField), quoteIdentifier(m_baseTable)),
                         {m_baseTable});
    if (!next) // a file without any AUTOINCREMENT table has no sqlite_sequence
        next = d->openRecordset(QStringLiteral("SELECT ifnull(max(%1), 0) + 1 FROM %2")
                                    .arg(quoteIdentifier(m_keyField), quoteIdentifier(m_baseTable)));
    if (next && !next->isEOF())
        row[fieldIndex(m_keyField)] = next->field(0);
    return row;
}

// ---------------------------------------------------------------- rows

int DataControl::recordCount() const { return int(m_rows.size()); }

bool DataControl::hasCurrent() const { return !m_removed && m_pos >= 0 && m_pos < recordCount(); }

bool DataControl::isEOF() const { return m_rows.empty() || m_pos >= recordCount(); }

bool DataControl::isBOF() const { return m_rows.empty() || m_pos < 0; }

int DataControl::absolutePosition() const { return hasCurrent() && m_mode != EditAdd ? m_pos : -1; }

int DataControl::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant DataControl::field(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        return {};
    if (m_mode != EditNone)
        return m_buffer.at(i);
    return hasCurrent() ? m_rows[m_pos].values.at(i) : QVariant();
}

QVariant DataControl::value(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_fields.size())
        return {};
    return m_rows[row].values.at(column);
}

QVariant DataControl::value(int row, const QString &name) const { return value(row, fieldIndex(name)); }

QVariant DataControl::bookmark() const
{
    return hasCurrent() && m_mode != EditAdd ? QVariant(m_rows[m_pos].serial) : QVariant();
}

// ---------------------------------------------------------------- moving

bool DataControl::raiseValidate(int &action, bool &save)
{
    const bool wasSave = save;
    m_inValidate = true;
    emit validate(action, save);
    m_inValidate = false;
    if (action == ActionCancel)
        return false;
    if (wasSave && !save)
        dropChanges();
    return true;
}

bool DataControl::pendingChanges() const
{
    // Typing with no row to write it to is nothing to save.
    return dataChanged() && (m_mode != EditNone || hasCurrent());
}

bool DataControl::leaveRow(int action)
{
    bool save = pendingChanges();
    if (!raiseValidate(action, save))
        return fail(kErrActionCancelled, QStringLiteral("This action was cancelled."));
    if (save)
        return writeRow(true);
    return true;
}

bool DataControl::positionOn(int row, int action)
{
    if (m_inValidate)
        return fail(kErrActionCancelled, QStringLiteral("This action was cancelled."));
    m_error = {};
    if (!leaveRow(action))
        return false;
    m_pos = row;
    m_removed = false;
    m_mode = EditNone;
    m_buffer.clear();
    m_set.clear();
    pushToControls();
    emit reposition();
    return true;
}

bool DataControl::moveFirst()
{
    if (m_rows.empty())
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    return positionOn(0, ActionMoveFirst);
}

bool DataControl::moveLast()
{
    if (m_rows.empty())
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    return positionOn(recordCount() - 1, ActionMoveLast);
}

bool DataControl::moveNext()
{
    if (m_mode == EditAdd || m_removed) // the row after the removed one is at m_pos
        return positionOn(m_removed ? m_pos : m_pos + 1, ActionMoveNext);
    if (isEOF())
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    return positionOn(m_pos + 1, ActionMoveNext);
}

bool DataControl::movePrevious()
{
    if (isBOF() && !m_removed)
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    return positionOn(m_pos - 1, ActionMovePrevious);
}

bool DataControl::moveTo(int row)
{
    if (row < 0 || row >= recordCount())
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    return positionOn(row, ActionBookmark);
}

bool DataControl::findFirst(const QString &name, const QVariant &value)
{
    const int c = fieldIndex(name);
    if (c < 0)
        return fail(db::ErrItemNotFound, QStringLiteral("Item not found in this collection."));
    for (int r = 0; r < recordCount(); ++r) {
        if (db::sameValue(m_rows[r].values.at(c), value))
            return positionOn(r, ActionFind);
    }
    m_error = {};
    return false;
}

bool DataControl::moveToKey(const QVariant &key)
{
    if (m_keyField.isEmpty())
        return fail(db::ErrItemNotFound, QStringLiteral("Item not found in this collection."));
    return findFirst(m_keyField, key);
}

bool DataControl::setBookmark(const QVariant &bookmark)
{
    bool ok = false;
    const qint64 serial = bookmark.toLongLong(&ok);
    for (int r = 0; ok && r < recordCount(); ++r) {
        if (m_rows[r].serial == serial)
            return positionOn(r, ActionBookmark);
    }
    return fail(db::ErrNoCurrentRecord, QStringLiteral("Not a valid bookmark."));
}

// ---------------------------------------------------------------- editing

db::Database *DataControl::writableDatabase()
{
    if (m_inValidate) {
        fail(kErrActionCancelled, QStringLiteral("This action was cancelled."));
        return nullptr;
    }
    m_error = {};
    db::Database *d = database();
    if (isReadOnly() || !d) {
        fail(db::ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
        return nullptr;
    }
    return d;
}

bool DataControl::addNew()
{
    db::Database *d = writableDatabase();
    if (!d || !leaveRow(ActionAddNew))
        return false;
    m_buffer = defaultsForNewRow(d);
    m_set.assign(m_fields.size(), false);
    m_mode = EditAdd;
    if (m_removed) {
        m_removed = false;
        m_pos = qMin(m_pos, recordCount() - 1);
    }
    pushToControls();
    emit reposition();
    return true;
}

bool DataControl::edit()
{
    m_error = {};
    if (isReadOnly())
        return fail(db::ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
    if (m_mode == EditInProgress)
        return true;
    if (m_mode == EditAdd || !hasCurrent())
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    m_buffer = m_rows[m_pos].values;
    m_set.assign(m_fields.size(), false);
    m_mode = EditInProgress;
    return true;
}

bool DataControl::setField(const QString &name, const QVariant &value)
{
    if (m_mode == EditNone)
        return fail(db::ErrUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const int i = fieldIndex(name);
    if (i < 0)
        return fail(db::ErrItemNotFound, QStringLiteral("Item not found in this collection."));
    m_buffer[i] = value;
    m_set[i] = true;
    pushField(i);
    return true;
}

bool DataControl::writeRow(bool reportFailure)
{
    auto failed = [&](const db::DbError &e) {
        m_error = e;
        if (reportFailure)
            ui::errorReport(e.number, e.description);
        return false;
    };
    db::Database *d = database();
    if (isReadOnly() || !d)
        return failed({db::ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only.")});
    if (m_mode == EditNone) {
        if (!hasCurrent())
            return failed({db::ErrNoCurrentRecord, kNoCurrentRecord});
        m_buffer = m_rows[m_pos].values;
        m_set.assign(m_fields.size(), false);
        m_mode = EditInProgress;
    }
    for (Binding *b : m_bindings) {
        const int i = fieldIndex(b->field);
        if (i >= 0 && b->control && dataChanged(b->control)) {
            m_buffer[i] = controlValue(*b);
            m_set[i] = true;
        }
    }
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_set[i] && m_writable[i]) {
            columns << m_fields.at(i);
            values << storable(m_buffer.at(i), m_numeric[i]);
        }
    }
    const int keyIndex = fieldIndex(m_keyField);
    int row = m_pos;
    if (m_mode == EditAdd) {
        if (!d->execute(db::insertStatement(m_baseTable, columns), values))
            return failed(d->lastError());
        const QVariant newKey = m_set[keyIndex] ? m_buffer.at(keyIndex) : d->lastInsertId();
        Row r;
        r.serial = m_nextSerial++;
        r.values = readBack(d, newKey);
        if (r.values.isEmpty()) {
            r.values = m_buffer;
            r.values[keyIndex] = newKey;
        }
        row = recordCount();
        m_model->insertBegin(row);
        m_rows.push_back(std::move(r));
        m_model->insertEnd();
    } else {
        const QVariant oldKey = m_rows[m_pos].values.at(keyIndex);
        if (!columns.isEmpty()) {
            values << oldKey;
            if (!d->execute(db::updateStatement(m_baseTable, columns, m_keyField), values))
                return failed(d->lastError());
            if (d->recordsAffected() == 0) // gone meanwhile (the other program, a delete by id)
                return failed({kErrRecordDeleted, QStringLiteral("Record is deleted.")});
        }
        const QVariantList back = readBack(d, m_set[keyIndex] ? m_buffer.at(keyIndex) : oldKey);
        if (!back.isEmpty())
            m_rows[m_pos].values = back;
        m_model->rowChanged(m_pos);
    }
    const bool added = m_mode == EditAdd;
    m_pos = row;
    m_removed = false;
    m_lastModified = m_rows[row].serial;
    m_mode = EditNone;
    m_buffer.clear();
    m_set.clear();
    clearChangeFlags();
    if (added) // the written row is the current one now
        emit reposition();
    return true;
}

bool DataControl::update()
{
    if (!writableDatabase())
        return false;
    bool save = pendingChanges();
    if (m_mode == EditNone && !save)
        return fail(db::ErrUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    int action = ActionUpdate;
    const bool wasSave = save;
    if (!raiseValidate(action, save))
        return fail(kErrActionCancelled, QStringLiteral("This action was cancelled."));
    if (wasSave && !save)
        return true; // the changes were dropped: nothing to write
    return writeRow(false);
}

bool DataControl::remove()
{
    db::Database *d = writableDatabase();
    if (!d)
        return false;
    if (m_mode == EditAdd || !hasCurrent())
        return fail(db::ErrNoCurrentRecord, kNoCurrentRecord);
    int action = ActionDelete;
    bool save = pendingChanges();
    if (!raiseValidate(action, save))
        return fail(kErrActionCancelled, QStringLiteral("This action was cancelled."));
    const QVariant key = m_rows[m_pos].values.at(fieldIndex(m_keyField));
    if (!d->execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                        .arg(quoteIdentifier(m_baseTable), quoteIdentifier(m_keyField)),
                    {key})) {
        m_error = d->lastError();
        return false;
    }
    m_model->removeBegin(m_pos);
    m_rows.erase(m_rows.begin() + m_pos);
    m_model->removeEnd();
    m_removed = true;
    m_mode = EditNone;
    m_buffer.clear();
    m_set.clear();
    pushToControls(); // no current row: the controls empty
    emit reposition();
    return true;
}

void DataControl::cancelUpdate()
{
    m_error = {};
    const bool wasAdding = m_mode == EditAdd;
    m_mode = EditNone;
    m_buffer.clear();
    m_set.clear();
    pushToControls();
    if (wasAdding)
        emit reposition();
}

void DataControl::dropChanges() { cancelUpdate(); }

void DataControl::updateControls() { pushToControls(); }

// ---------------------------------------------------------------- bindings

DataControl::Binding *DataControl::bindingFor(QWidget *control)
{
    for (Binding *b : m_bindings) {
        if (b->control == control)
            return b;
    }
    return nullptr;
}

const DataControl::Binding *DataControl::bindingFor(QWidget *control) const
{
    return const_cast<DataControl *>(this)->bindingFor(control);
}

void DataControl::bind(QWidget *control, const QString &field)
{
    if (!control)
        return;
    unbind(control);
    watchWindow();
    auto *b = new Binding;
    b->control = control;
    b->field = field;
    b->isLabel = qobject_cast<QLabel *>(control) != nullptr;
    if (!b->isLabel) {
        b->property = control->metaObject()->userProperty();
        if (b->property.hasNotifySignal()) {
            const int slot = metaObject()->indexOfSlot("controlChanged()");
            b->notify = QObject::connect(control, b->property.notifySignal(), this, metaObject()->method(slot));
        }
    }
    connect(control, &QObject::destroyed, this, &DataControl::controlDestroyed, Qt::UniqueConnection);
    m_bindings.push_back(b);
    ++m_pushing;
    pushBinding(*b);
    --m_pushing;
}

void DataControl::unbind(QWidget *control)
{
    for (auto it = m_bindings.begin(); it != m_bindings.end(); ++it) {
        if ((*it)->control == control) {
            QObject::disconnect((*it)->notify);
            QObject::disconnect((*it)->limiter);
            delete *it;
            m_bindings.erase(it);
            return;
        }
    }
}

void DataControl::controlDestroyed(QObject *control)
{
    for (auto it = m_bindings.begin(); it != m_bindings.end();) {
        if ((*it)->control.isNull() || (*it)->control == control) {
            delete *it;
            it = m_bindings.erase(it);
        } else {
            ++it;
        }
    }
}

void DataControl::setDataFormat(QWidget *control, std::function<QVariant(const QVariant &)> toControl,
                                std::function<QVariant(const QVariant &)> toField)
{
    if (Binding *b = bindingFor(control)) {
        b->toControl = std::move(toControl);
        b->toField = std::move(toField);
        ++m_pushing;
        pushBinding(*b);
        --m_pushing;
    }
}

void DataControl::setMinimumLength(QWidget *control, int length)
{
    if (Binding *b = bindingFor(control)) {
        b->minimumLength = length;
        ++m_pushing;
        pushBinding(*b);
        --m_pushing;
    }
}

void DataControl::controlChanged()
{
    if (m_pushing > 0)
        return;
    if (Binding *b = bindingFor(qobject_cast<QWidget *>(sender())))
        b->changed = true;
}

bool DataControl::dataChanged(QWidget *control) const
{
    const Binding *b = bindingFor(control);
    if (!b || !b->control)
        return false;
    if (b->isLabel)
        return b->changed || static_cast<QLabel *>(b->control.data())->text() != b->labelText;
    return b->changed;
}

bool DataControl::dataChanged() const
{
    for (const Binding *b : m_bindings) {
        if (dataChanged(b->control))
            return true;
    }
    return false;
}

void DataControl::setDataChanged(QWidget *control, bool changed)
{
    Binding *b = bindingFor(control);
    if (!b || !b->control)
        return;
    b->changed = changed;
    if (b->isLabel && !changed)
        b->labelText = static_cast<QLabel *>(b->control.data())->text();
}

void DataControl::clearChangeFlags()
{
    for (Binding *b : m_bindings)
        setDataChanged(b->control, false);
}

QVariant DataControl::controlValue(const Binding &b) const
{
    QVariant v =
        b.isLabel ? QVariant(static_cast<QLabel *>(b.control.data())->text()) : b.control->property(b.property.name());
    if (b.toField)
        v = b.toField(v);
    const int i = fieldIndex(b.field);
    return storable(v, i >= 0 && i < int(m_numeric.size()) && m_numeric[i]);
}

void DataControl::pushBinding(Binding &b)
{
    QWidget *w = b.control;
    if (!w)
        return;
    const int i = fieldIndex(b.field);
    QVariant v;
    if (i >= 0) {
        if (m_mode != EditNone)
            v = m_buffer.value(i);
        else if (hasCurrent())
            v = m_rows[m_pos].values.at(i);
    }
    if (b.toControl)
        v = b.toControl(v);

    // The column's width limits typing; a longer stored text still shows whole.
    const int limit = i >= 0 && i < int(m_maxLength.size()) ? m_maxLength[i] : 0;
    const int shownLength = v.isNull() ? 0 : int(v.toString().size());
    b.limit = limit > 0 ? std::max({limit, shownLength, b.minimumLength}) : 0;
    QLineEdit *line = qobject_cast<QLineEdit *>(w);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        line = combo->lineEdit();
    if (line && b.limit > 0)
        line->setMaxLength(b.limit);
    auto *box = qobject_cast<QPlainTextEdit *>(w);
    if (box && b.limit > 0 && !b.limiter) {
        b.limiter = connect(box, &QPlainTextEdit::textChanged, this, [this, box] {
            const Binding *bound = bindingFor(box);
            if (m_pushing == 0 && bound && bound->limit > 0)
                limitPlainText(box, bound->limit);
        });
    }

    if (b.isLabel) {
        auto *label = static_cast<QLabel *>(w);
        label->setText(v.isNull() ? QString() : v.toString());
        b.labelText = label->text();
    } else if (b.property.isValid()) {
        b.property.write(w, forProperty(v, b.property.userType()));
    }
    b.changed = false;
}

void DataControl::pushField(int index)
{
    ++m_pushing;
    for (Binding *b : m_bindings) {
        if (fieldIndex(b->field) == index) {
            const bool changed = b->changed;
            pushBinding(*b);
            b->changed = changed;
        }
    }
    --m_pushing;
}

void DataControl::pushToControls()
{
    ++m_pushing;
    for (Binding *b : m_bindings)
        pushBinding(*b);
    --m_pushing;
}

// ---------------------------------------------------------------- the window's close

bool DataControl::eventFilter(QObject *watched, QEvent *event)
{
    // A detail window has no Esc: a dialog would hide itself on Esc without a
    // close event, dropping what was typed unasked, and closing it instead
    // would write what the user may have meant to leave. Esc does nothing;
    // the window closes by its close box and its commands.
    if (watched == m_window && event->type() == QEvent::KeyPress && qobject_cast<QDialog *>(m_window)) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            key->accept();
            return true;
        }
    }
    if (watched == m_window && event->type() == QEvent::Close) {
        bool keepOpen = false;
        afterWindowClose(&keepOpen);
        if (keepOpen) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DataControl::afterWindowClose(bool *keepOpen)
{
    if (m_inValidate)
        return;
    int action = ActionUnload;
    bool save = pendingChanges();
    if (!raiseValidate(action, save))
        return; // the window decides in its closeEvent whether it stays
    if (save && !writeRow(true))
        *keepOpen = true; // the write failed: keep the window and its changes
}
