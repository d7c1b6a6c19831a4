#pragma once
// The date chooser: a month calendar and Cancel. The caller gives the caption
// and the date to show (any value), and gets back the day chosen (a QDate,
// without a time), or nothing: Cancel, Esc and the close box all cancel.

#include <QDate>
#include <QDialog>
#include <QVariant>
#include <optional>

class QCalendarWidget;
class QPushButton;

class frm_date : public QDialog {
    Q_OBJECT
public:
    explicit frm_date(QWidget *parent = nullptr, const QString &prompt = {}, const QVariant &shown = {});

    QCalendarWidget *MonthView1 = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Caption, tip and the day shown. Runs when the window is made, which is
    // anew for each use.
    void Form_Load();
    void MonthView1_DateClick(const QDate &dateClicked);
    void cmdCancel_Click();
    void subClose();

    // The day chosen; nothing while none is, and after a cancel.
    std::optional<QDate> chosen() const { return m_chosen; }

public slots:
    void reject() override;

private:
    QString m_prompt;
    QVariant m_shown;
    std::optional<QDate> m_chosen;
};

// Shows the date chooser modally over `owner`, captioned `prompt`, on the day
// of `shown` (today for none): the day chosen, or nothing when cancelled.
std::optional<QDate> funShowDateChooser(QWidget *owner, const QString &prompt, const QVariant &shown);
