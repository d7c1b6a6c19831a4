#include "core/frm_date.h"
#include "platform/dates.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frm_date::frm_date(QWidget *parent, const QString &prompt, const QVariant &shown)
    : QDialog(parent), m_prompt(prompt), m_shown(shown)
{
    setObjectName(QStringLiteral("frm_date"));
    setModal(true);

    MonthView1 = new QCalendarWidget(this);
    MonthView1->setObjectName(QStringLiteral("MonthView1"));
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthView1->setGridVisible(true);
    MonthView1->setFirstDayOfWeek(CtCalendar::kWeekStart); // weeks as the main calendar shows them

    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter belongs to the calendar, where it chooses the day under the cursor.
    cmdCancel->setAutoDefault(false);
    cmdCancel->setDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MonthView1);
    layout->addLayout(buttons);

    connect(MonthView1, &QCalendarWidget::clicked, this, &frm_date::MonthView1_DateClick);
    connect(MonthView1, &QCalendarWidget::activated, this, &frm_date::MonthView1_DateClick);
    connect(cmdCancel, &QPushButton::clicked, this, &frm_date::cmdCancel_Click);

    Form_Load();
}

void frm_date::Form_Load()
{
    m_chosen.reset();
    setWindowTitle(m_prompt);
    MonthView1->setToolTip(QStringLiteral("Click on date to select, or hit ESC to cancel..."));
    QDate shown = anyDate(m_shown);
    if (!shown.isValid() || shown <= QDate(1900, 1, 1))
        shown = zbclock::today();
    MonthView1->setSelectedDate(shown);
    MonthView1->setCurrentPage(shown.year(), shown.month());
}

void frm_date::MonthView1_DateClick(const QDate &dateClicked)
{
    m_chosen = dateClicked;
    subClose();
}

void frm_date::cmdCancel_Click()
{
    m_chosen.reset();
    subClose();
}

void frm_date::subClose() { done(m_chosen ? Accepted : Rejected); }

void frm_date::reject()
{
    // Esc and the close box: a cancel.
    m_chosen.reset();
    QDialog::reject();
}

std::optional<QDate> funShowDateChooser(QWidget *owner, const QString &prompt, const QVariant &shown)
{
    frm_date chooser(owner ? owner->window() : nullptr, prompt, shown);
    chooser.exec();
    return chooser.chosen();
}
