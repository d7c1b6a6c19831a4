#pragma once
// The list of one calendar day's items: events, birthdays, diary entries and
// vaccinations, each opening in its own window; events can also be deleted
// from here, and a new event added.

#include <QDialog>
#include <array>

class CtList;
class QPushButton;

class frm_event_list : public QDialog {
    Q_OBJECT
public:
    explicit frm_event_list(QWidget *parent = nullptr);

    CtList *ctList1 = nullptr;
    // Elements 0 "&New", 1 "&Open", 2 "&Delete" and 4 "&Close"; 3 is unused.
    std::array<QPushButton *, 5> cmdEventList{};

    // Adds one item's row: its name, due text, kind and record id, with the
    // picture `icon` (none when null) before the name.
    void addItemRow(const QString &name, const QString &due, int kind, long recordId, const QIcon &icon);

    // A button as the user presses it; then the window closes.
    void cmdEventList_Click(int index);
    // A row as the user selects it: Open for any item, Delete for events.
    void ctList1_RowSelected(int row);
    // A double-click on a row: Open, then the window closes.
    void ctList1_RowDblClick(int row);

private:
    // The kind and record id of the selected row; false when none is selected.
    bool selectedItem(int *kind, long *recordId) const;
    void openItem(int kind, long recordId);
};
