#pragma once
// The date picker: a date (or time) edit whose value can also be empty. With
// its check box on (the default), the box in front of the date says whether
// there is a value at all: unchecked, Value() is Null and a data control
// stores Null. Without the check box the picker always holds a value.
//
// Value() is a QDate in the date formats and a QTime in the time format, or a
// null QVariant. setValue() takes a date, a time or a date-time, the files'
// text ('YYYY-MM-DD', 'HH:MM:SS', ...), or a date typed in the user's short
// form; anything that is not one empties the picker (or, without the check
// box, leaves it as it was).
//
// The focus goes to the inner date edit (focusWidget() is that edit; its
// parentWidget() is the picker).
//
// A user may also type a whole date or time over the field: the text is read
// whole when the field is left (Tab, Enter, a click elsewhere, a command of
// the window), as vbCDate and vbCTime read it or as the field shows it. Text
// that is no date or time is refused with a message and the field keeps the
// focus and the text; it never becomes some other value. Tab leaves the field
// (the arrow keys move within it).

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QWidget>

class QCheckBox;
class QDateTimeEdit;
class QCalendarWidget;
class TypedDateTimeEdit;

class DatePicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QVariant value READ Value WRITE setValue NOTIFY valueChanged USER true)
public:
    // "Short Date" is the user's short date; Time shows hours and minutes with
    // AM/PM; Custom uses the pattern of setCustomFormat().
    enum Format { ShortDate, LongDate, Time, Custom };

    explicit DatePicker(QWidget *parent = nullptr);

    QVariant Value() const;
    void setValue(const QVariant &value);
    bool isNull() const;

    bool CheckBox() const { return m_hasCheckBox; }
    void setCheckBox(bool on);

    Format format() const { return m_format; }
    void setFormat(Format format);
    // A pattern in the picker's own letters: "h:mm tt" (tt = AM/PM), "M/d/yyyy".
    void setCustomFormat(const QString &pattern);

    QDateTimeEdit *editor() const;
    // The pop-up calendar of a date format, made when first asked for (here
    // or by the user opening it); null for a time.
    QCalendarWidget *calendarWidget() const;

    // Reads what the user has typed and not yet left; false (after saying so
    // and putting the focus back) when it is no date or time. A command that
    // stores the picker's value asks this first.
    bool commitTyping();
    QCheckBox *checkBox() const { return m_check; }

signals:
    void valueChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyState();
    bool isTimeFormat() const;

    QCheckBox *m_check;
    TypedDateTimeEdit *m_edit;
    Format m_format = ShortDate;
    QString m_custom;
    bool m_hasCheckBox = true;
};
