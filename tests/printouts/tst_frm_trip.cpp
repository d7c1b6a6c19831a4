// The trip options window on a real data file and real widgets: a typed trip
// is stored by Add, and a failed write is reported and keeps what was typed;
// showing the window again keeps a pending edit; choosing a trip, saving,
// deleting and cancelling; OK with and without a trip; the time-of-day lists
// complete what is typed.

#include "core/globals.h"
#include "core/main_zorbi.h"
#include "platform/controls/data_control.h"
#include "platform/controls/data_grid.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "printouts/frm_trip.h"
#include "test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using testsupport::ProgramFolder;

namespace {

QLineEdit *edit(frm_trip &w, int index) { return static_cast<QLineEdit *>(w.txtTrip[size_t(index)]); }

int tripCount(const QString &name = {})
{
    auto rs =
        gDataDB->openRecordset(name.isEmpty() ? QStringLiteral("SELECT count(*) FROM tbl_trip")
                                              : QStringLiteral("SELECT count(*) FROM tbl_trip WHERE trip_name = ?"),
                               name.isEmpty() ? QVariantList{} : QVariantList{name});
    return rs ? rs->field(0).toInt() : -1;
}

QVariant tripField(const QString &name, const QString &field)
{
    auto rs = gDataDB->openRecordset(QStringLiteral("SELECT %1 FROM tbl_trip WHERE trip_name = ?").arg(field), {name});
    return rs && !rs->isEOF() ? rs->field(0) : QVariant();
}

long addTrip(const QString &name, const QString &location)
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_trip (trip_name, trip_location) VALUES (?, ?)"), {name, location});
    return long(gDataDB->lastInsertId().toLongLong());
}

void typeTrip(frm_trip &w, const QString &name)
{
    edit(w, 1)->setFocus();
    QTest::keyClicks(edit(w, 1), name);
    QTest::keyClicks(edit(w, 0), QStringLiteral("Lake"));
    w.DTPicker1->setValue(QDate(2024, 7, 1));
    w.DBComboTOD[0]->setText(QStringLiteral("Evening"));
    QTest::keyClicks(static_cast<QPlainTextEdit *>(w.txtTrip[4]), QStringLiteral("Feed at six"));
}

} // namespace

class TestFrmTrip : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_pf = std::make_unique<ProgramFolder>();
        QCOMPARE(Main(), -1);
        QVERIFY(gDataDB);
    }
    void cleanup() { m_pf.reset(); }

    // Add stores a new trip with all it holds, the list shows it, and a new
    // trip starts; showing the window again (after a box, a help window)
    // keeps what is typed.
    void addStoresTypedTrip()
    {
        frm_trip w;
        w.show();
        QCOMPARE(w.DataDetail->editMode(), int(DataControl::EditAdd));
        QCOMPARE(w.cmdTrip[2]->text(), QStringLiteral("&Add"));
        QVERIFY(!w.cmdTrip[3]->isEnabled());
        QCOMPARE(w.lblTrip0->text(), QStringLiteral("No trip details will be used"));
        typeTrip(w, QStringLiteral("Cabin"));
        w.hide();
        w.show();
        QCOMPARE(edit(w, 1)->text(), QStringLiteral("Cabin"));
        QTest::mouseClick(w.cmdTrip[2], Qt::LeftButton);
        QCOMPARE(tripCount(QStringLiteral("Cabin")), 1);
        QCOMPARE(tripField("Cabin", "trip_location").toString(), QStringLiteral("Lake"));
        QCOMPARE(tripField("Cabin", "trip_date_begin").toString(), QStringLiteral("2024-07-01"));
        QCOMPARE(tripField("Cabin", "trip_date_begin_tod").toString(), QStringLiteral("Evening"));
        QCOMPARE(tripField("Cabin", "trip_notes").toString(), QStringLiteral("Feed at six"));
        QVERIFY(tripField("Cabin", "trip_date_end").isNull());
        QCOMPARE(w.DataDetail->editMode(), int(DataControl::EditAdd));
        QCOMPARE(edit(w, 1)->text(), QString());
        QCOMPARE(w.DBGrid1->model()->rowCount(), 1);
        // An untouched new trip writes nothing.
        QTest::mouseClick(w.cmdTrip[2], Qt::LeftButton);
        QCOMPARE(tripCount(), 1);
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    }

    // A write the file refuses is reported, stores nothing, and keeps the
    // trip as typed, still new, for another try.
    void addFailureReported()
    {
        QVERIFY(gDataDB->execute(QStringLiteral("CREATE TRIGGER no_trips BEFORE INSERT ON tbl_trip "
                                                "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")));
        frm_trip w;
        w.show();
        typeTrip(w, QStringLiteral("Cabin"));
        QTest::mouseClick(w.cmdTrip[2], Qt::LeftButton);
        QCOMPARE(tripCount(), 0);
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
        QVERIFY(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text.contains("the disk is full"));
        QCOMPARE(edit(w, 1)->text(), QStringLiteral("Cabin"));
        QCOMPARE(w.DataDetail->editMode(), int(DataControl::EditAdd));
        QVERIFY(w.DataDetail->dataChanged());
        // OK tries the write too, reports it, and stays.
        w.cmdReport_Click(0);
        QVERIFY(w.isVisible());
        QVERIFY(!w.confirmed());
        QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 2);
    }

    // Choosing a trip: Save, Delete on, "use the trip", its name, OK on.
    // Save stores the change and starts a new trip, with OK off under "use
    // the trip" until a stored one is chosen; Delete removes the row; Cancel
    // puts the stored values back.
    void chooseSaveDeleteCancel()
    {
        addTrip(QStringLiteral("Beach"), QStringLiteral("Coast"));
        addTrip(QStringLiteral("Hills"), QString());
        frm_trip w;
        w.show();
        QVERIFY(w.cmdReport[0]->isEnabled());
        w.DBGrid1->selectRow(0);
        QCOMPARE(w.cmdTrip[2]->text(), QStringLiteral("&Save"));
        QVERIFY(w.cmdTrip[3]->isEnabled());
        QVERIFY(w.optTrip[1]->isChecked());
        QCOMPARE(w.lblTrip0->text(), QStringLiteral("Beach"));
        QVERIFY(w.cmdReport[0]->isEnabled());
        QCOMPARE(edit(w, 0)->text(), QStringLiteral("Coast"));

        edit(w, 0)->setText(QStringLiteral("South coast"));
        QTest::mouseClick(w.cmdTrip[2], Qt::LeftButton);
        QCOMPARE(tripField("Beach", "trip_location").toString(), QStringLiteral("South coast"));
        QCOMPARE(w.cmdTrip[2]->text(), QStringLiteral("&Add"));
        QVERIFY(!w.cmdTrip[3]->isEnabled());
        QVERIFY(!w.cmdReport[0]->isEnabled());

        // Cancel drops an edit of the chosen trip.
        w.DBGrid1->selectRow(1);
        QCOMPARE(edit(w, 1)->text(), QStringLiteral("Hills"));
        edit(w, 1)->setText(QStringLiteral("Mountains"));
        QTest::mouseClick(w.cmdTrip[4], Qt::LeftButton);
        QCOMPARE(tripCount(QStringLiteral("Hills")), 1);
        QCOMPARE(edit(w, 1)->text(), QString());

        w.DBGrid1->selectRow(0);
        QTest::mouseClick(w.cmdTrip[3], Qt::LeftButton);
        QCOMPARE(tripCount(QStringLiteral("Beach")), 0);
        QCOMPARE(tripCount(), 1);
        QCOMPARE(w.DataDetail->editMode(), int(DataControl::EditAdd));
        QVERIFY(!w.cmdTrip[3]->isEnabled());
        QCOMPARE(w.DBGrid1->model()->rowCount(), 1);
    }

    // OK: "use no trip" gives 0 even with a trip chosen; "use the trip" its
    // id, with an edit of it written first; Cancel answers False and writes
    // nothing.
    void okAndCancel_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("useTrip");
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok, no trip") << 0 << false << true;
        QTest::newRow("ok, the trip") << 0 << true << true;
        QTest::newRow("cancel") << 1 << true << false;
    }
    void okAndCancel()
    {
        QFETCH(int, button);
        QFETCH(bool, useTrip);
        QFETCH(bool, ok);
        const long beach = addTrip(QStringLiteral("Beach"), QStringLiteral("Coast"));
        frm_trip w;
        w.show();
        w.DBGrid1->selectRow(0);
        edit(w, 3)->setText(QStringLiteral("555-0199"));
        if (!useTrip)
            w.optTrip[0]->setChecked(true);
        QCOMPARE(w.lblTrip0->text(),
                 useTrip ? QStringLiteral("Beach") : QStringLiteral("No trip details will be used"));
        w.cmdReport_Click(button);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.confirmed(), ok);
        QCOMPARE(w.tripID(), ok && useTrip ? beach : 0L);
        QCOMPARE(tripField("Beach", "trip_contact_number").toString(), ok ? QStringLiteral("555-0199") : QString());
    }

    // "Use the trip" with the new trip on screen: OK is off (no stored trip
    // chosen), and stays off when a trip is typed but not yet added.
    void okNeedsStoredTrip()
    {
        frm_trip w;
        w.show();
        w.optTrip[1]->setChecked(true);
        QVERIFY(!w.cmdReport[0]->isEnabled());
        addTrip(QStringLiteral("Beach"), QString());
        w.DataDetail->refresh();
        w.DataDetail->addNew();
        QTest::keyClicks(edit(w, 1), QStringLiteral("New one"));
        w.subTripOptionChanged();
        QVERIFY(!w.cmdReport[0]->isEnabled());
        w.optTrip[0]->setChecked(true);
        QVERIFY(w.cmdReport[0]->isEnabled());
    }

    // The time-of-day lists offer the system file's names and complete
    // what is typed.
    void timeOfDayCompletes()
    {
        frm_trip w;
        w.show();
        DbCombo *c = w.DBComboTOD[1];
        QCOMPARE(c->count(), 9);
        QCOMPARE(c->itemText(0), QStringLiteral("Early Morning"));
        c->setFocus();
        QTest::keyClicks(c, QStringLiteral("la"));
        QCOMPARE(c->Text(), QStringLiteral("Late Morning"));
        QCOMPARE(w.HelpContextID, 1003);
    }

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

ZORBI_TEST_MAIN(TestFrmTrip)
#include "tst_frm_trip.moc"
