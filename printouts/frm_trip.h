#pragma once
// The trip options of the pet sitter's instructions: no trip, or the trip
// chosen in the list, which the user keeps here as well (add, save, delete,
// cancel on the data file's trips).
//
// The window is always on a row: a new trip from its first showing and after
// every trip button, or the trip chosen in the list, being edited. Add (Save
// while a trip is chosen) writes the row on screen when it is new or changed
// and holds something, then starts a new one; a write that fails is reported
// and the row stays as typed. OK writes a changed row first, and with "use the
// trip" it needs a stored trip chosen in the list (else it is disabled), whose
// id it confirms (tripID()). Cancel writes nothing.
//
// Controls named by index carry objectNames such as "txtTrip(1)": txtTrip
// (0) location, (1) name, (2) where to reach us, (3) how to reach us, (4) the
// general instructions; DBComboTOD (0) leaving, (1) returning; cmdTrip (2)
// Add/Save, (3) Delete, (4) Cancel; cmdReport (0) OK, (1) Cancel.

#include <QDialog>
#include <array>

struct PrintoutRequest;
class DataControl;
class DataGrid;
class DatePicker;
class DbCombo;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

class frm_trip : public QDialog {
    Q_OBJECT
public:
    explicit frm_trip(QWidget *parent = nullptr);
    ~frm_trip() override;

    static constexpr int kHelpContext = 1003;
    int HelpContextID = kHelpContext;

    std::array<QRadioButton *, 2> optTrip{};
    QLabel *lblTrip0 = nullptr;
    DataGrid *DBGrid1 = nullptr;
    std::array<QWidget *, 5> txtTrip{};
    DatePicker *DTPicker1 = nullptr, *DTPicker2 = nullptr;
    std::array<DbCombo *, 2> DBComboTOD{};
    std::array<QPushButton *, 5> cmdTrip{};
    std::array<QPushButton *, 2> cmdReport{};
    DataControl *DataDetail = nullptr;
    DataControl *DataTODLookups = nullptr;

    void subTripOptionChanged();
    void DBGrid1_RowColChange();
    void cmdTrip_Click(int index);
    void cmdReport_Click(int index);

    // Whether OK closed the window, and the trip it confirmed (0 none).
    bool confirmed() const { return m_confirmed; }
    long tripID() const { return m_tripID; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void DataDetail_Validate(int &action, bool &save);
    // A new trip, and the buttons as they are for one.
    void subStartNewTrip();
    // Writes the row on screen when it changed; false (reported) when the
    // write failed.
    bool subWritePending();

    bool m_started = false;
    bool m_confirmed = false;
    long m_tripID = 0;
};

// Shows the trip options modally over `form`, titled "Pet Sitter - Trip
// Details"; True when the user confirmed (the request's tripID then holds the
// trip, or 0 for none).
bool funReportTripOptions(QWidget *form, PrintoutRequest &request);
