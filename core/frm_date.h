#pragma once
// The date chooser: a month calendar and Cancel. The caller puts the caption in
// gDatePrompt and the date to show in gDateValue, shows the window, and reads
// the answer from the same globals: gDateOK is True only when a day was
// chosen, and gDateValue is then that day (a QDate, without a time). Cancel,
// Esc and the close box all cancel: gDateOK False and gDateValue "".

#include <QDialog>

class QCalendarWidget;
class QPushButton;

class frm_date : public QDialog {
    Q_OBJECT
public:
    explicit frm_date(QWidget *parent = nullptr);

    QCalendarWidget *MonthView1 = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Caption, tip and the day shown; an answer left from an earlier use is
    // forgotten. Runs when the window is made, which is anew for each use.
    void Form_Load();
    void MonthView1_DateClick(const QDate &dateClicked);
    void cmdCancel_Click();
    void subClose();

public slots:
    void reject() override;
};

// Shows the date chooser modally over `owner` and returns gDateOK.
bool funShowDateChooser(QWidget *owner);
