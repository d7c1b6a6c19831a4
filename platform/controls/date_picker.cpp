#include "platform/controls/date_picker.h"

#include "core/dates.h"
#include "platform/clock.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLocale>

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

DatePicker::DatePicker(QWidget *parent)
    : QWidget(parent), m_check(new QCheckBox(this)), m_edit(new QDateTimeEdit(this))
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

void DatePicker::setValue(const QVariant &value)
{
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
    case ShortDate:
        m_edit->setDisplayFormat(vbShortDateFormat());
        break;
    case LongDate:
        m_edit->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
        break;
    case Time:
        m_edit->setDisplayFormat(QStringLiteral("h:mm AP"));
        break;
    case Custom:
        m_edit->setDisplayFormat(qtPattern(m_custom));
        break;
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
    m_edit->setEnabled(isEnabled() && !isNull());
}

void DatePicker::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        applyState();
    QWidget::changeEvent(event);
}
