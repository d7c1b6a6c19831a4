#pragma once
// The reminder window: the due items in a check list, a header with the current
// row, the snooze choice (reminder program only), Print and Done.

#include <QDialog>
#include <QList>

class CtList;
class QComboBox;
class QLabel;
class QPushButton;

class frm_reminder : public QDialog {
    Q_OBJECT
public:
    explicit frm_reminder(QWidget *parent = nullptr);
    ~frm_reminder() override;

    CtList *ctList1 = nullptr;
    QLabel *lblHeader[3] = {nullptr, nullptr, nullptr};
    QLabel *lblSnooze = nullptr;
    QComboBox *DBCboSnooze = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdClose = nullptr;
    QLabel *Image1 = nullptr;

    // The reminder program shows the snooze label and list, and its Done also
    // snoozes and closes its other windows.
    void setSnoozeShown(bool shown);
    bool snoozeShown() const { return m_snoozeShown; }

    // The header from row `row`.
    void subColumns(int row);
    // The header from `row`, then its mark flipped.
    void subToggleItem(int row);
    // Done: acknowledges the marked rows, then closes the window.
    void subClose();

    // Shows the window and waits until it is closed. The main program's window
    // is modal; the reminder program's blocks nothing, so its tray menu stays
    // live meanwhile.
    int showModal();

private:
    void ctList1_KeyPress(int keyCode);
    void DBCboSnooze_Change(int index);

    bool m_snoozeShown = false;
    QList<int> m_snoozeMinutes; // per entry of the snooze list
};

// Prints the list with the program's title and the moment of printing.
void subPrintReminders(frm_reminder *form);
