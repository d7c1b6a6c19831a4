#include "platform/controls/date_picker.h"

#include "platform/dates.h"
#include "platform/clock.h"

#include "platform/controls/ct_calendar.h"
#include "platform/dialogs.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

namespace {

// The picker's pattern letters in Qt's: "tt" is AM/PM.
QString qtPattern(const QString &pattern)
{
    QString p = pattern;
    p.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    return p;
}

const QDate kFirstDate(1900, 1, 1);

} // namespace

// A date-time edit that also takes a whole value typed over it. Qt's editor
// reads typing section by section and moves the cursor between sections as
// it goes, so "5:30 PM" typed over the field comes out as another time.
// Once the user starts to type, the text is left alone and read whole when
// the field is left.
class TypedDateTimeEdit : public QDateTimeEdit {
public:
    explicit TypedDateTimeEdit(QWidget *parent) : QDateTimeEdit(parent) {}

    // The pop-up calendar is made the first time it may be needed: making it
    // costs a window with dates several milliseconds, and most fields never
    // open it. Its weeks start on the main calendar's day.
    QCalendarWidget *preparedCalendar()
    {
        if (!calendarPopup())
            return nullptr;
        QCalendarWidget *calendar = calendarWidget();
        if (!m_calendarReady) {
            calendar->setFirstDayOfWeek(CtCalendar::kWeekStart);
            m_calendarReady = true;
        }
        return calendar;
    }

    // True when nothing typed is pending or it was read; otherwise the user is
    // told, the field keeps the text and takes the focus back.
    bool commit()
    {
        if (!m_typing)
            return true;
        const QString text = lineEdit()->text();
        QString problem;
        const QDateTime value = readWhole(text, problem);
        if (!value.isValid()) {
            refuse(problem);
            return false;
        }
        stopTyping();
        setDateTime(value);
        lineEdit()->setText(textFromDateTime(dateTime())); // also when the value is the same
        return true;
    }

    // A value set by the program replaces what was being typed.
    void abandonTyping()
    {
        if (!m_typing)
            return;
        stopTyping();
        lineEdit()->setText(textFromDateTime(dateTime()));
    }

protected:
    QValidator::State validate(QString &input, int &pos) const override
    {
        return m_typing ? QValidator::Intermediate : QDateTimeEdit::validate(input, pos);
    }

    void fixup(QString &input) const override
    {
        if (!m_typing)
            QDateTimeEdit::fixup(input);
    }

    bool focusNextPrevChild(bool next) override
    {
        // Tab goes to the next field, not to the next part of the date.
        if (!commit())
            return true;
        return QWidget::focusNextPrevChild(next);
    }

    void keyPressEvent(QKeyEvent *e) override
    {
        const int key = e->key();
        if (key == Qt::Key_F4 || ((key == Qt::Key_Down || key == Qt::Key_Up) && (e->modifiers() & Qt::AltModifier)))
            preparedCalendar();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down
            || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_F4
            || (key == Qt::Key_Down && (e->modifiers() & Qt::AltModifier))) {
            if (!commit()) {
                e->accept();
                return;
            }
            QDateTimeEdit::keyPressEvent(e);
            return;
        }
        if (key == Qt::Key_Escape) {
            abandonTyping();
            QDateTimeEdit::keyPressEvent(e);
            return;
        }
        if (e->matches(QKeySequence::SelectAll)) {
            lineEdit()->selectAll();
            e->accept();
            return;
        }
        if (!m_typing && editsText(e))
            startTyping();
        if (m_typing) {
            lineEdit()->event(e); // as the spin box passes keys on: straight to the text
            return;
        }
        QDateTimeEdit::keyPressEvent(e);
    }

    void focusOutEvent(QFocusEvent *e) override
    {
        // A menu or another window coming up is no leaving of the field.
        if (m_typing && e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason
            && !m_refusing) {
            QString problem;
            if (!readWhole(lineEdit()->text(), problem).isValid()) {
                lineEdit()->event(e); // the text loses its cursor, and keeps what was typed
                QWidget::focusOutEvent(e);
                QTimer::singleShot(0, this, [this] { commit(); });
                return;
            }
            commit();
        }
        if (m_typing) {
            lineEdit()->event(e);
            QWidget::focusOutEvent(e);
            return;
        }
        QDateTimeEdit::focusOutEvent(e);
    }

    void mousePressEvent(QMouseEvent *e) override
    {
        // The arrows and the calendar button work on what was typed.
        if (!commit())
            return;
        preparedCalendar();
        QDateTimeEdit::mousePressEvent(e);
    }

    void wheelEvent(QWheelEvent *e) override
    {
        if (!commit())
            return;
        QDateTimeEdit::wheelEvent(e);
    }

private:
    bool showsTime() const { return (displayedSections() & DateSections_Mask) == 0; }

    // The value of the whole text: as the field shows it, or as a user types
    // a date or a time. An invalid date-time and `problem` set when it is none.
    QDateTime readWhole(const QString &text, QString &problem) const
    {
        const QLocale locale;
        if (showsTime()) {
            QTime t = locale.toTime(text.trimmed(), displayFormat());
            if (!t.isValid())
                t = vbCTime(text);
            if (t.isValid())
                return QDateTime(date(), t);
            problem = QStringLiteral("\"%1\" is not a time. Please type a time such as %2.")
                          .arg(text.trimmed(), locale.toString(QTime(17, 30), QStringLiteral("h:mm AP")));
            return {};
        }
        QDate d = locale.toDate(text.trimmed(), displayFormat());
        if (!d.isValid())
            d = vbCDate(text);
        if (d.isValid() && d >= minimumDate() && d <= maximumDate())
            return QDateTime(d, time());
        const QString example = locale.toString(zbclock::today(), vbShortDateFormat());
        if (d.isValid())
            problem =
                QStringLiteral("%1 is before %2, the earliest date that can be kept.")
                    .arg(locale.toString(d, vbShortDateFormat()), locale.toString(minimumDate(), vbShortDateFormat()));
        else
            problem =
                QStringLiteral("\"%1\" is not a date. Please type a date such as %2.").arg(text.trimmed(), example);
        return {};
    }

    void refuse(const QString &problem)
    {
        if (m_refusing)
            return;
        m_refusing = true;
        ui::dialogs().msgBox(window(), problem, ui::Exclamation);
        m_refusing = false;
        setFocus(Qt::OtherFocusReason);
        lineEdit()->selectAll();
    }

    // Keys that change the text: characters, deleting, pasting and cutting.
    static bool editsText(const QKeyEvent *e)
    {
        if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut))
            return true;
        if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete)
            return true;
        if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QString t = e->text();
        return !t.isEmpty() && t.at(0).isPrint();
    }

    // While the user types, Qt's editor must not move the cursor from section
    // to section; it does so from the line edit's cursor signal.
    void startTyping()
    {
        m_typing = true;
        disconnect(lineEdit(), SIGNAL(cursorPositionChanged(int, int)), this,
                   SLOT(_q_editorCursorPositionChanged(int, int)));
    }
    void stopTyping()
    {
        m_typing = false;
        connect(lineEdit(), SIGNAL(cursorPositionChanged(int, int)), this,
                SLOT(_q_editorCursorPositionChanged(int, int)));
    }

    bool m_typing = false;
    bool m_refusing = false;
    bool m_calendarReady = false;
};

DatePicker::DatePicker(QWidget *parent)
    : QWidget(parent), m_check(new QCheckBox(this)), m_edit(new TypedDateTimeEdit(this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_check);
    row->addWidget(m_edit, 1);
    m_check->setObjectName(QStringLiteral("checkBox"));
    m_check->setFocusPolicy(Qt::TabFocus);
    m_edit->setObjectName(QStringLiteral("dateEdit"));
    m_edit->setMinimumDate(kFirstDate);
    m_edit->setDate(zbclock::today());
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    m_check->setChecked(true);
    connect(m_check, &QCheckBox::toggled, this, [this] {
        applyState();
        emit valueChanged();
    });
    connect(m_edit, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!isNull())
            emit valueChanged();
    });
    setFormat(ShortDate);
}

bool DatePicker::isTimeFormat() const
{
    if (m_format == Time)
        return true;
    if (m_format != Custom)
        return false;
    return !m_custom.contains(QLatin1Char('d')) && !m_custom.contains(QLatin1Char('M'))
           && !m_custom.contains(QLatin1Char('y'));
}

bool DatePicker::isNull() const { return m_hasCheckBox && !m_check->isChecked(); }

QVariant DatePicker::Value() const
{
    if (isNull())
        return {};
    return isTimeFormat() ? QVariant(m_edit->time()) : QVariant(m_edit->date());
}

bool DatePicker::commitTyping() { return m_edit->commit(); }

QDateTimeEdit *DatePicker::editor() const { return m_edit; }

QCalendarWidget *DatePicker::calendarWidget() const { return m_edit->preparedCalendar(); }

void DatePicker::setValue(const QVariant &value)
{
    m_edit->abandonTyping();
    QDate date;
    QTime time;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        time = timeFromDb(text);
        date = dateFromDb(text);
        if (!date.isValid() && !time.isValid())
            date = vbCDate(text);
    } else {
        date = dateFromDb(value);
        time = timeFromDb(value);
    }
    const bool have = isTimeFormat() ? time.isValid() : date.isValid();
    if (!have) {
        if (m_hasCheckBox)
            m_check->setChecked(false);
        return;
    }
    {
        const QSignalBlocker quiet(m_edit);
        if (isTimeFormat())
            m_edit->setTime(time);
        else
            m_edit->setDate(date);
    }
    if (m_check->isChecked())
        emit valueChanged();
    else
        m_check->setChecked(true); // emits
}

void DatePicker::setCheckBox(bool on)
{
    m_hasCheckBox = on;
    m_check->setVisible(on);
    if (!on)
        m_check->setChecked(true);
    applyState();
}

void DatePicker::setFormat(Format format)
{
    m_format = format;
    switch (format) {
    case ShortDate: m_edit->setDisplayFormat(vbShortDateFormat()); break;
    case LongDate: m_edit->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat)); break;
    case Time: m_edit->setDisplayFormat(QStringLiteral("h:mm AP")); break;
    case Custom: m_edit->setDisplayFormat(qtPattern(m_custom)); break;
    }
    m_edit->setCalendarPopup(!isTimeFormat());
}

void DatePicker::setCustomFormat(const QString &pattern)
{
    m_custom = pattern;
    setFormat(Custom);
}

void DatePicker::applyState()
{
    if (isNull() || !isEnabled())
        m_edit->abandonTyping();
    m_edit->setEnabled(isEnabled() && !isNull());
}

void DatePicker::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        applyState();
    QWidget::changeEvent(event);
}
