#include "printouts/frm_trip.h"

#include "core/auto_complete.h"
#include "core/globals.h"
#include "core/system.h"
#include "printouts/printout_request.h"
#include "platform/controls/data_control.h"
#include "platform/controls/data_grid.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

QString indexed(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = named(new QPushButton(caption, parent), name);
    // Enter in a field never presses a button of the window.
    b->setAutoDefault(false);
    return b;
}

const QString kNoTrip = QStringLiteral("No trip details will be used");

} // namespace

frm_trip::frm_trip(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_trip"));
    auto *top = new QVBoxLayout(this);

    auto *options = new QGroupBox(this);
    auto *ol = new QVBoxLayout(options);
    optTrip[0] = named(new QRadioButton(QStringLiteral("Do not use any trip details"), options), indexed("optTrip", 0));
    optTrip[1] =
        named(new QRadioButton(QStringLiteral("Use the trip details selected below"), options), indexed("optTrip", 1));
    optTrip[0]->setChecked(true);
    lblTrip0 = named(new QLabel(kNoTrip, options), indexed("lblTrip", 0));
    lblTrip0->setIndent(20);
    ol->addWidget(optTrip[0]);
    ol->addWidget(optTrip[1]);
    ol->addWidget(lblTrip0);
    top->addWidget(options);

    DataDetail = named(new DataControl(this), QStringLiteral("DataDetail"));
    DataTODLookups = named(new DataControl(this), QStringLiteral("DataTODLookups"));
    DataTODLookups->setReadOnly(true);

    DBGrid1 = named(new DataGrid(this), QStringLiteral("DBGrid1"));
    DBGrid1->setMinimumHeight(120);
    top->addWidget(DBGrid1, 1);

    auto *frame = new QGroupBox(QStringLiteral("Trip Details"), this);
    auto *form = new QFormLayout(frame);
    auto line = [&](int index) { return named(new QLineEdit(frame), indexed("txtTrip", index)); };
    txtTrip[1] = line(1);
    txtTrip[0] = line(0);
    txtTrip[2] = line(2);
    txtTrip[3] = line(3);
    auto *notes = named(new QPlainTextEdit(frame), indexed("txtTrip", 4));
    notes->setTabChangesFocus(true);
    notes->setMaximumHeight(80);
    txtTrip[4] = notes;
    static_cast<QLineEdit *>(txtTrip[2])
        ->setPlaceholderText(QStringLiteral("(i.e. name of the place we are staying at)"));
    static_cast<QLineEdit *>(txtTrip[3])
        ->setPlaceholderText(QStringLiteral("(i.e. phone number where we are staying)"));
    auto when = [&](DatePicker *&picker, const char *pickerName, int tod) {
        picker = named(new DatePicker(frame), QLatin1String(pickerName));
        DBComboTOD[size_t(tod)] = named(new DbCombo(frame), indexed("DBComboTOD", tod));
        DbCombo *c = DBComboTOD[size_t(tod)];
        c->setRowSource(DataTODLookups);
        c->setListField(QStringLiteral("trip_time_name"));
        c->setStyle(0);
        c->setMinimumContentsLength(12);
        connect(c, &DbCombo::keyPress, this, [this, c](int &key) { subAutoCompleteTripTime(c, DataTODLookups, key); });
        auto *row = new QWidget(frame);
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(picker);
        h->addWidget(c, 1);
        return row;
    };
    form->addRow(QStringLiteral("Trip Name:"), txtTrip[1]);
    form->addRow(QStringLiteral("Location:"), txtTrip[0]);
    form->addRow(QStringLiteral("Leaving:"), when(DTPicker1, "DTPicker1", 0));
    form->addRow(QStringLiteral("Returning:"), when(DTPicker2, "DTPicker2", 1));
    form->addRow(QStringLiteral("Where to reach us:"), txtTrip[2]);
    form->addRow(QStringLiteral("How to reach us: "), txtTrip[3]);
    form->addRow(QStringLiteral("General Instructions:"), txtTrip[4]);
    auto *tripButtons = new QHBoxLayout;
    tripButtons->addStretch(1);
    cmdTrip[2] = button(QStringLiteral("&Add"), indexed("cmdTrip", 2), frame);
    cmdTrip[3] = button(QStringLiteral("&Delete"), indexed("cmdTrip", 3), frame);
    cmdTrip[4] = button(QStringLiteral("&Cancel"), indexed("cmdTrip", 4), frame);
    for (int i = 2; i <= 4; ++i) {
        tripButtons->addWidget(cmdTrip[size_t(i)]);
        connect(cmdTrip[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdTrip_Click(i); });
    }
    form->addRow(tripButtons);
    top->addWidget(frame);

    auto *reportButtons = new QHBoxLayout;
    reportButtons->addStretch(1);
    cmdReport[0] = button(QStringLiteral("OK"), indexed("cmdReport", 0), this);
    cmdReport[1] = button(QStringLiteral("Cancel"), indexed("cmdReport", 1), this);
    for (int i = 0; i < 2; ++i) {
        reportButtons->addWidget(cmdReport[size_t(i)]);
        connect(cmdReport[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdReport_Click(i); });
    }
    top->addLayout(reportButtons);

    DataDetail->bind(txtTrip[1], QStringLiteral("trip_name"));
    DataDetail->bind(txtTrip[0], QStringLiteral("trip_location"));
    DataDetail->bind(DTPicker1, QStringLiteral("trip_date_begin"));
    DataDetail->bind(DBComboTOD[0], QStringLiteral("trip_date_begin_tod"));
    DataDetail->bind(DTPicker2, QStringLiteral("trip_date_end"));
    DataDetail->bind(DBComboTOD[1], QStringLiteral("trip_date_end_tod"));
    DataDetail->bind(txtTrip[2], QStringLiteral("trip_contact_location"));
    DataDetail->bind(txtTrip[3], QStringLiteral("trip_contact_number"));
    DataDetail->bind(txtTrip[4], QStringLiteral("trip_notes"));
    connect(DataDetail, &DataControl::validate, this, &frm_trip::DataDetail_Validate);

    DBGrid1->setDataSource(DataDetail);
    DBGrid1->setColumns({{QStringLiteral("trip_name"), QStringLiteral("Trip Name")},
                         {QStringLiteral("trip_location"), QStringLiteral("Location")}});
    connect(DBGrid1, &DataGrid::rowColChange, this, &frm_trip::DBGrid1_RowColChange);
    for (QRadioButton *o : optTrip)
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                subTripOptionChanged();
        });

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { funHelp(this, 2, HelpContextID); });

    Form_Load();
}

frm_trip::~frm_trip() = default;

void frm_trip::Form_Load()
{
    DataDetail->setDatabaseName(gDataDBPath);
    DataTODLookups->setDatabaseName(gSystemDBPath);
    HelpContextID = kHelpContext;
    m_confirmed = false;
    m_tripID = 0;
    DataTODLookups->setRecordSource(QStringLiteral("SELECT trip_time_name FROM tbl_trip_times "
                                                   "ORDER BY trip_time_sort_order, trip_time_id"));
    DataTODLookups->refresh();
    DataDetail->setRecordSource(QStringLiteral("SELECT * FROM tbl_trip ORDER BY trip_name, trip_id"));
    if (!DataDetail->refresh()) {
        const db::DbError &e = DataDetail->lastError();
        ui::errorReport(e.number, e.description, QStringLiteral("Form_Load"));
    }
    cmdTrip[3]->setEnabled(false);
    subTripOptionChanged();
}

void frm_trip::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window comes back to the front after every box and help window;
    // only its first showing starts the new trip, or a pending edit would go.
    if (m_started)
        return;
    m_started = true;
    subStartNewTrip();
    subTripOptionChanged();
    txtTrip[1]->setFocus();
}

void frm_trip::subStartNewTrip()
{
    DataDetail->addNew();
    cmdTrip[2]->setText(QStringLiteral("&Add"));
    cmdTrip[3]->setEnabled(false);
}

void frm_trip::DataDetail_Validate(int &action, bool &save)
{
    // The window's own buttons write; closing writes nothing more.
    if (action == DataControl::ActionUnload) {
        save = false;
        return;
    }
    if (!save || action == DataControl::ActionDelete)
        return;
    if (DataDetail->editMode() == DataControl::EditNone)
        DataDetail->edit();
}

bool frm_trip::subWritePending()
{
    if (!DataDetail->dataChanged())
        return true;
    if (DataDetail->editMode() == DataControl::EditNone)
        DataDetail->edit();
    const bool added = DataDetail->editMode() == DataControl::EditAdd;
    if (!DataDetail->update()) {
        const db::DbError &e = DataDetail->lastError();
        ui::errorReport(e.number, e.description, QStringLiteral("cmdReport_Click"));
        return false;
    }
    // The list shows the trip as written, still the current one.
    const QVariant key = DataDetail->field(QStringLiteral("trip_id"));
    DataDetail->refresh();
    DataDetail->moveToKey(key);
    if (added)
        DataDetail->edit();
    DBGrid1->refresh();
    return true;
}

void frm_trip::subTripOptionChanged()
{
    if (optTrip[0]->isChecked()) {
        cmdReport[0]->setEnabled(true);
        lblTrip0->setText(kNoTrip);
        return;
    }
    if (DataDetail->recordCount() == 0 || DBGrid1->Row() < 0) {
        cmdReport[0]->setEnabled(false);
        return;
    }
    const QVariant name = DataDetail->field(QStringLiteral("trip_name"));
    if (!name.isNull())
        lblTrip0->setText(name.toString());
    cmdReport[0]->setEnabled(true);
}

void frm_trip::DBGrid1_RowColChange()
{
    if (DBGrid1->Row() < 0) {
        if (optTrip[1]->isChecked())
            cmdReport[0]->setEnabled(false);
        return;
    }
    cmdTrip[2]->setText(QStringLiteral("&Save"));
    DataDetail->edit();
    cmdTrip[3]->setEnabled(true);
    txtTrip[1]->setFocus();
    cmdReport[0]->setEnabled(true);
    optTrip[1]->setChecked(true);
    subTripOptionChanged();
}

void frm_trip::cmdTrip_Click(int index)
{
    const QVariant written = DataDetail->lastModified();
    bool changed = false;
    switch (index) {
    case 2:
        // Starting the next trip writes the one on screen first when it is
        // new or changed and holds something; a failed write was reported
        // and the trip stays as typed.
        if (!DataDetail->addNew())
            return;
        changed = DataDetail->lastModified() != written;
        break;
    case 3:
        if (DataDetail->editMode() == DataControl::EditAdd || DataDetail->absolutePosition() < 0)
            return;
        if (!DataDetail->remove()) {
            const db::DbError &e = DataDetail->lastError();
            ui::errorReport(e.number, e.description, QStringLiteral("cmdTrip_Click"));
            return;
        }
        changed = true;
        break;
    case 4: DataDetail->updateControls(); break;
    default: return;
    }
    // Read again after a write, so the list keeps its order.
    if (changed)
        DataDetail->refresh();
    subStartNewTrip();
    QApplication::processEvents();
    subTripOptionChanged();
    DataTODLookups->refresh();
    txtTrip[1]->setFocus();
}

void frm_trip::cmdReport_Click(int index)
{
    if (index == 0) {
        if (!subWritePending())
            return;
        if (optTrip[1]->isChecked()) {
            // Only a stored trip chosen in the list: OK is disabled otherwise.
            if (DBGrid1->Row() < 0 || DataDetail->editMode() == DataControl::EditAdd)
                return;
            m_tripID = long(DataDetail->field(QStringLiteral("trip_id")).toLongLong());
        }
        m_confirmed = true;
    }
    close();
}

bool funReportTripOptions(QWidget *form, PrintoutRequest &request)
{
    frm_trip w(form);
    w.setWindowTitle(QStringLiteral("Pet Sitter - Trip Details"));
    w.exec();
    if (!w.confirmed())
        return false;
    request.tripID = w.tripID();
    return true;
}
