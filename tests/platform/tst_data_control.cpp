// The data control and its bound controls on the real files: edit modes, the
// validate event and its answers, the write at the window's close, writing a
// view's rows to its table, table defaults and new keys, sharing the file with
// another connection, and each kind of bound control.

#include "core/auto_complete.h"
#include "core/database.h"
#include "core/globals.h"
#include "platform/controls/data_control.h"
#include "platform/controls/data_grid.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "data_rows.h"
#include "test_support.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QtTest>

using testsupport::count;
namespace {

// What a statement reads, "<none>" when it finds no row.
QVariant scalar(const QString &sql) { return testsupport::value(sql, {}, QStringLiteral("<none>")); }

// Stands for the rich text box: a text edit whose USER property is its own.
class UserPropertyBox : public QTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString textRTF READ textRTF WRITE setTextRTF NOTIFY textChanged USER true)
public:
    using QTextEdit::QTextEdit;
    QString textRTF() const { return QStringLiteral("{\\rtf1 ") + toPlainText() + QLatin1Char('}'); }
    void setTextRTF(const QString &rtf)
    {
        const QString body = rtf.mid(7);
        setPlainText(body.left(body.size() - 1));
    }
};

struct Validation {
    int action;
    bool save;
};

// Records every validate event; the next answers (action, save) can be set.
struct Recorder {
    std::vector<Validation> seen;
    std::optional<int> setAction;
    std::optional<bool> setSave;
    std::function<void(DataControl *)> during;

    void attach(DataControl *dc)
    {
        QObject::connect(dc, &DataControl::validate, dc, [this, dc](int &action, bool &save) {
            seen.push_back({action, save});
            if (setAction)
                action = *setAction;
            if (setSave)
                save = *setSave;
            if (during)
                during(dc);
        });
    }
};

void exec(const QString &sql, const QVariantList &params = {})
{
    QVERIFY2(gDataDB->execute(sql, params), qPrintable(gDataDB->lastError().description));
}

} // namespace

class TestDataControl : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;

    void openFiles()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        gWorkspace = std::make_unique<db::Workspace>();
        db::DbError e;
        gDataDBPath = m_folder->file(QStringLiteral("Zorbi.dat"));
        gSystemDBPath = m_folder->file(QStringLiteral("Zorbi.sys"));
        gDataDB = gWorkspace->openDatabase(gDataDBPath, false, false, funDBConnect(), &e);
        gSystemDB = gWorkspace->openDatabase(gSystemDBPath, false, false, funDBConnect(), &e);
        QVERIFY(gDataDB && gSystemDB);
        exec("INSERT INTO tbl_pet (pet_id, pet_name, pet_species_id) VALUES (1, 'Rex', 1), (2, 'Tom', 2)");
        exec("INSERT INTO tbl_contact (contact_id, contact_name, contact_ph_1) VALUES "
             "(1, 'Dr Adams', '555'), (2, 'Dr Brown', '556'), (3, 'Carla', NULL)");
        exec("INSERT INTO tbl_vaccine (vaccine_id, vaccine_pet_id, vaccine_name, vaccine_expiration_date, "
             "vaccine_vet_id, vaccine_acknowledged_date) VALUES "
             "(1, 1, 'Rabies', '2025-01-01', 1, '2024-06-01 10:00:00'), (2, 1, 'Distemper', NULL, NULL, "
             "'1900-01-01 00:00:00')");
    }

    // A window holding a data control on the pets, with a name box.
    struct PetWindow {
        QDialog window;
        DataControl *dc;
        QLineEdit *name;
        Recorder rec;
        explicit PetWindow(const QString &source = QStringLiteral("SELECT * FROM tbl_pet ORDER BY pet_id"))
        {
            dc = new DataControl(&window);
            dc->setDatabaseName(gDataDBPath);
            name = new QLineEdit(&window);
            dc->bind(name, QStringLiteral("pet_name"));
            rec.attach(dc);
            dc->setRecordSource(source);
            dc->refresh();
        }
    };

private slots:
    void init() { openFiles(); }
    void cleanup() { m_folder.reset(); }

    void editModesFollowTheCalls()
    {
        PetWindow w;
        QCOMPARE(w.dc->recordCount(), 2);
        QCOMPARE(w.dc->editMode(), int(DataControl::EditNone));
        QCOMPARE(w.name->text(), QStringLiteral("Rex"));
        QVERIFY(w.dc->edit());
        QCOMPARE(w.dc->editMode(), int(DataControl::EditInProgress));
        QVERIFY(w.dc->update());
        QCOMPARE(w.dc->editMode(), int(DataControl::EditNone));
        QVERIFY(w.dc->addNew());
        QCOMPARE(w.dc->editMode(), int(DataControl::EditAdd));
        QCOMPARE(w.dc->absolutePosition(), -1);
        QCOMPARE(w.name->text(), QString());
        w.dc->cancelUpdate();
        QCOMPARE(w.dc->editMode(), int(DataControl::EditNone));
        QCOMPARE(w.name->text(), QStringLiteral("Rex"));
        QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 2);
        // Update with nothing to write is the engine's error, as before.
        QVERIFY(!w.dc->update());
        QCOMPARE(w.dc->lastError().number, 3020);
    }

    void validateReportsActionAndSave_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("save");
        QTest::newRow("refresh") << "refresh" << false << 1 << false;
        QTest::newRow("move next") << "next" << false << 3 << false;
        QTest::newRow("move next, typed") << "next" << true << 3 << true;
        QTest::newRow("move last") << "last" << false << 4 << false;
        QTest::newRow("move to row") << "moveTo" << false << 9 << false;
        QTest::newRow("find") << "find" << true << 8 << true;
        QTest::newRow("add new") << "addNew" << true << 5 << true;
        QTest::newRow("update, typed") << "update" << true << 6 << true;
        QTest::newRow("update in edit, untouched") << "update" << false << 6 << false;
        QTest::newRow("delete") << "delete" << false << 7 << false;
        QTest::newRow("close, typed") << "close" << true << 11 << true;
        QTest::newRow("close, untouched") << "close" << false << 11 << false;
    }

    void validateReportsActionAndSave()
    {
        QFETCH(QString, op);
        QFETCH(bool, typed);
        QFETCH(int, action);
        QFETCH(bool, save);
        PetWindow w;
        w.window.show();
        QVERIFY(w.dc->edit());
        if (typed)
            w.name->setText(QStringLiteral("Rexie"));
        w.rec.seen.clear();
        if (op == "refresh")
            w.dc->refresh();
        else if (op == "next")
            QVERIFY(w.dc->moveNext());
        else if (op == "last")
            QVERIFY(w.dc->moveLast());
        else if (op == "moveTo")
            QVERIFY(w.dc->moveTo(1));
        else if (op == "find")
            QVERIFY(w.dc->findFirst(QStringLiteral("pet_name"), QStringLiteral("TOM")));
        else if (op == "addNew")
            QVERIFY(w.dc->addNew());
        else if (op == "update")
            QVERIFY(w.dc->update());
        else if (op == "delete")
            QVERIFY(w.dc->remove());
        else if (op == "close")
            QVERIFY(w.window.close());
        QCOMPARE(int(w.rec.seen.size()), 1);
        QCOMPARE(w.rec.seen[0].action, action);
        QCOMPARE(w.rec.seen[0].save, save);
        // What was typed and let through is in the file, whatever the action.
        if (typed)
            QCOMPARE(scalar("SELECT pet_name FROM tbl_pet WHERE pet_id = 1").toString(), QStringLiteral("Rexie"));
    }

    // A detail window has no Esc: it neither hides the window (dropping what
    // was typed unasked) nor closes it (writing what was typed).
    void escapeDoesNothing()
    {
        PetWindow w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QVERIFY(w.dc->edit());
        w.name->setText(QStringLiteral("Rexie"));
        w.rec.seen.clear();
        QTest::keyClick(w.name, Qt::Key_Escape);
        QVERIFY(w.window.isVisible());
        QVERIFY(w.rec.seen.empty());
        QCOMPARE(w.name->text(), QStringLiteral("Rexie"));
        QCOMPARE(scalar("SELECT pet_name FROM tbl_pet WHERE pet_id = 1").toString(), QStringLiteral("Rex"));
    }

    void cancelKeepsRowAndFile_data()
    {
        QTest::addColumn<QString>("op");
        QTest::newRow("move") << "move";
        QTest::newRow("update") << "update";
        QTest::newRow("delete") << "delete";
        QTest::newRow("close") << "close";
    }

    // Action 0 stops the operation; at the close it only stops the write.
    void cancelKeepsRowAndFile()
    {
        QFETCH(QString, op);
        PetWindow w;
        w.window.show();
        w.name->setText(QStringLiteral("Changed"));
        w.rec.setAction = DataControl::ActionCancel;
        bool done = false;
        if (op == "move")
            done = w.dc->moveNext();
        else if (op == "update")
            done = w.dc->update();
        else if (op == "delete")
            done = w.dc->remove();
        else
            w.window.close();
        QVERIFY(!done);
        QCOMPARE(scalar("SELECT pet_name FROM tbl_pet WHERE pet_id = 1").toString(), QStringLiteral("Rex"));
        QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 2);
        if (op != "close") {
            QCOMPARE(w.dc->absolutePosition(), 0);
            QCOMPARE(w.name->text(), QStringLiteral("Changed"));
            QVERIFY(w.dc->dataChanged());
        } else {
            QVERIFY(!w.window.isVisible()); // the window itself did not object
        }
    }

    void dropWritesNothing_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<bool>("adding");
        QTest::newRow("move") << "move" << false;
        QTest::newRow("update") << "update" << false;
        QTest::newRow("update of a new row") << "update" << true;
        QTest::newRow("close") << "close" << false;
        QTest::newRow("close with a new row") << "close" << true;
    }

    // save = False drops the changes: nothing is written, an added row is abandoned.
    void dropWritesNothing()
    {
        QFETCH(QString, op);
        QFETCH(bool, adding);
        PetWindow w;
        w.window.show();
        QVERIFY(adding ? w.dc->addNew() : w.dc->edit());
        w.name->setText(QStringLiteral("Changed"));
        w.rec.setSave = false;
        bool done = true;
        if (op == "move")
            done = w.dc->moveNext();
        else if (op == "update")
            done = w.dc->update();
        else
            w.window.close();
        QVERIFY(done);
        if (op == "close")
            QVERIFY(!w.window.isVisible());
        QCOMPARE(count("SELECT count(*) FROM tbl_pet WHERE pet_name = 'Changed'"), 0);
        QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 2);
        QVERIFY(!w.dc->dataChanged());
        QCOMPARE(w.dc->editMode(), int(DataControl::EditNone));
        if (op == "update")
            QCOMPARE(w.name->text(), QStringLiteral("Rex")); // the stored value is back
    }

    // The fields a validate handler sets are written with the row; an update in
    // edit mode writes them even when no control changed.
    void fieldsSetDuringValidateAreWritten()
    {
        PetWindow w(QStringLiteral("SELECT * FROM qry_vaccine ORDER BY vaccine_id"));
        w.rec.during = [](DataControl *dc) {
            dc->setField(QStringLiteral("vaccine_acknowledged_date"), QStringLiteral("1900-01-01 00:00:00"));
        };
        QVERIFY(w.dc->edit());
        QVERIFY(w.dc->update());
        QCOMPARE(scalar("SELECT vaccine_acknowledged_date FROM tbl_vaccine WHERE vaccine_id = 1").toString(),
                 QStringLiteral("1900-01-01 00:00:00"));
    }

    void closeWritesPendingRow()
    {
        PetWindow w;
        w.window.show();
        QVERIFY(w.dc->moveTo(1));
        w.name->setText(QStringLiteral("Tommy \"O'Malley\""));
        QVERIFY(w.window.close());
        QCOMPARE(scalar("SELECT pet_name FROM tbl_pet WHERE pet_id = 2").toString(),
                 QStringLiteral("Tommy \"O'Malley\""));
    }

    // A write the file refuses at the close is reported, and the window stays
    // open with what was typed.
    void failedWriteAtCloseKeepsWindow()
    {
        PetWindow w;
        auto *dob = new QLineEdit(&w.window);
        w.dc->bind(dob, QStringLiteral("pet_dob"));
        w.window.show();
        dob->setText(QStringLiteral("31/02/2020"));
        QVERIFY(!w.window.close());
        QVERIFY(w.window.isVisible());
        QCOMPARE(m_folder->dialogs().count(ui::ScriptedDialogs::Message), 1);
        QCOMPARE(m_folder->dialogs().last(ui::ScriptedDialogs::Message)->title, QStringLiteral("Error"));
        QCOMPARE(dob->text(), QStringLiteral("31/02/2020"));
        dob->setText(QStringLiteral("2020-02-29"));
        QVERIFY(w.window.close());
        QCOMPARE(scalar("SELECT pet_dob FROM tbl_pet WHERE pet_id = 1").toString(), QStringLiteral("2020-02-29"));
    }

    // A row deleted behind the window's back is an error, not a silent success.
    void updateOfADeletedRowFails()
    {
        PetWindow w;
        QVERIFY(w.dc->edit());
        exec("DELETE FROM tbl_pet WHERE pet_id = 1");
        w.name->setText(QStringLiteral("Ghost"));
        QVERIFY(!w.dc->update());
        QCOMPARE(w.dc->lastError().number, 3167);
        QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 1);
    }

    void viewWritesThroughToItsTable()
    {
        PetWindow w(QStringLiteral("SELECT * FROM qry_vaccine WHERE vaccine_pet_id = ? "
                                   "ORDER BY vaccine_expiration_date DESC, vaccine_name"));
        w.dc->setRecordSource(w.dc->recordSource(), {1});
        QVERIFY(w.dc->refresh());
        QCOMPARE(w.dc->baseTable(), QStringLiteral("tbl_vaccine"));
        QCOMPARE(w.dc->keyField(), QStringLiteral("vaccine_id"));
        auto *vaccine = new QLineEdit(&w.window);
        w.dc->bind(vaccine, QStringLiteral("vaccine_name"));
        QCOMPARE(vaccine->text(), QStringLiteral("Rabies"));
        QVERIFY(w.dc->edit());
        vaccine->setText(QStringLiteral("Rabies booster"));
        QVERIFY(w.dc->setField(QStringLiteral("vaccine_vet_id"), 2));
        QVERIFY2(w.dc->update(), qPrintable(w.dc->lastError().description));
        QCOMPARE(scalar("SELECT vaccine_name FROM tbl_vaccine WHERE vaccine_id = 1").toString(),
                 QStringLiteral("Rabies booster"));
        // The row is read back through the view: its own columns follow.
        QCOMPARE(w.dc->field(QStringLiteral("veterinarian_name")).toString(), QStringLiteral("Dr Brown"));
        // A list of distinct names has no row to write to.
        DataControl lookup;
        lookup.setDatabase(gDataDB.get());
        lookup.setRecordSource(QStringLiteral("SELECT DISTINCT vaccine_name FROM tbl_vaccine ORDER BY vaccine_name"));
        QVERIFY(lookup.refresh());
        QVERIFY(lookup.isReadOnly());
        QVERIFY(!lookup.addNew());
        QCOMPARE(lookup.lastError().number, 3027);
    }

    // A new row shows the table's defaults and the key it will get; the columns
    // the program leaves out are filled by the table.
    void newRowGetsDefaultsAndKey()
    {
        exec("INSERT INTO tbl_vaccine (vaccine_id, vaccine_pet_id) VALUES (7, 2)");
        exec("DELETE FROM tbl_vaccine WHERE vaccine_id = 7");
        PetWindow w(QStringLiteral("SELECT * FROM qry_vaccine WHERE vaccine_pet_id = 0"));
        auto *vaccine = new QLineEdit(&w.window);
        w.dc->bind(vaccine, QStringLiteral("vaccine_name"));
        QVERIFY(w.dc->addNew());
        QCOMPARE(w.dc->field(QStringLiteral("vaccine_id")).toInt(), 8); // never 7 again
        QCOMPARE(w.dc->field(QStringLiteral("vaccine_object_type")).toInt(), 6);
        QCOMPARE(w.dc->field(QStringLiteral("vaccine_acknowledged_date")).toString(),
                 QStringLiteral("1900-01-01 00:00:00"));
        vaccine->setText(QStringLiteral("Leptospirosis"));
        w.rec.during = [](DataControl *dc) {
            if (dc->editMode() == DataControl::EditAdd)
                dc->setField(QStringLiteral("vaccine_pet_id"), 2);
        };
        QVERIFY2(w.dc->update(), qPrintable(w.dc->lastError().description));
        QCOMPARE(w.dc->field(QStringLiteral("vaccine_id")).toInt(), 8);
        QVERIFY(w.dc->setBookmark(w.dc->lastModified()));
        QCOMPARE(w.dc->field(QStringLiteral("vaccine_name")).toString(), QStringLiteral("Leptospirosis"));
        QVERIFY(!w.dc->field(QStringLiteral("vaccine_cr_ts")).toString().isEmpty());
        QCOMPARE(scalar("SELECT vaccine_object_type || '|' || vaccine_pet_id || '|' || vaccine_acknowledged_date "
                        "FROM tbl_vaccine WHERE vaccine_id = 8")
                     .toString(),
                 QStringLiteral("6|2|1900-01-01 00:00:00"));
    }

    // Starting values set by code go with a new row, but an untouched new row
    // is not written when the control leaves it.
    void startingValuesDoNotMakeARow()
    {
        PetWindow w;
        QVERIFY(w.dc->addNew());
        QVERIFY(w.dc->setField(QStringLiteral("pet_species_id"), 3));
        QCOMPARE(w.name->text(), QString());
        QVERIFY(w.dc->addNew());
        QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 2);
        QVERIFY(w.dc->setField(QStringLiteral("pet_species_id"), 3));
        w.name->setText(QStringLiteral("Polly"));
        QVERIFY(w.dc->addNew());
        QCOMPARE(scalar("SELECT pet_species_id FROM tbl_pet WHERE pet_name = 'Polly'").toInt(), 3);
    }

    // Nothing of the file stays locked while a window holds unsaved edits.
    void anotherConnectionWritesMeanwhile()
    {
        PetWindow w;
        w.window.show();
        QVERIFY(w.dc->edit());
        w.name->setText(QStringLiteral("Pending"));
        db::DbError e;
        auto other = gWorkspace->openDatabase(gDataDBPath, false, false, funDBConnect(), &e);
        QVERIFY(other);
        QVERIFY2(other->execute(QStringLiteral("UPDATE tbl_vaccine SET vaccine_acknowledged_date = ? "
                                               "WHERE vaccine_id = 2"),
                                {QStringLiteral("2024-07-01 09:00:00")}),
                 qPrintable(other->lastError().description));
        QVERIFY(other->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name) VALUES (?)"), {QStringLiteral("Other")}));
        QVERIFY(w.dc->update());
        QCOMPARE(count("SELECT count(*) FROM tbl_pet WHERE pet_name IN ('Pending', 'Other')"), 2);
    }

    void datePickerStoresNullAndDates()
    {
        PetWindow w(QStringLiteral("SELECT * FROM qry_vaccine ORDER BY vaccine_id"));
        auto *expires = new DatePicker(&w.window);
        w.dc->bind(expires, QStringLiteral("vaccine_expiration_date"));
        QCOMPARE(expires->Value().toDate(), QDate(2025, 1, 1));
        QVERIFY(w.dc->moveNext());
        QVERIFY(expires->isNull());
        QVERIFY(!w.dc->dataChanged());
        expires->setValue(QDate(2026, 3, 31));
        QVERIFY(w.dc->moveFirst());
        QCOMPARE(scalar("SELECT vaccine_expiration_date FROM tbl_vaccine WHERE vaccine_id = 2").toString(),
                 QStringLiteral("2026-03-31"));
        expires->checkBox()->setChecked(false); // the user empties it
        QVERIFY(w.dc->dataChanged());
        QVERIFY(w.dc->moveNext());
        QVERIFY(scalar("SELECT vaccine_expiration_date FROM tbl_vaccine WHERE vaccine_id = 1").isNull());
        // A time picker holds the files' time text.
        DatePicker time;
        time.setCustomFormat(QStringLiteral("h:mm tt"));
        time.setValue(QStringLiteral("14:30:00"));
        QCOMPARE(time.Value().toTime(), QTime(14, 30));
        QCOMPARE(time.editor()->displayFormat(), QStringLiteral("h:mm AP"));
    }

    void comboStoresItsBoundColumn()
    {
        exec("UPDATE tbl_pet SET pet_vet_id = 2 WHERE pet_id = 1");
        exec("UPDATE tbl_pet SET pet_vet_id = 99 WHERE pet_id = 2"); // a person deleted meanwhile
        PetWindow w;
        DataControl contacts(&w.window);
        contacts.setDatabaseName(gDataDBPath);
        contacts.setRecordSource(QStringLiteral("SELECT * FROM tbl_contact ORDER BY contact_name"));
        contacts.setReadOnly(true);
        auto *vet = new DbCombo(&w.window);
        vet->setRowSource(&contacts);
        vet->setListField(QStringLiteral("contact_name"));
        vet->setBoundColumn(QStringLiteral("contact_id"));
        w.dc->bind(vet, QStringLiteral("pet_vet_id"));
        QVERIFY(contacts.refresh());
        QCOMPARE(vet->count(), 3);
        QCOMPARE(vet->Text(), QStringLiteral("Dr Brown"));
        QVERIFY(!w.dc->dataChanged());
        vet->setCurrentIndex(vet->findText(QStringLiteral("Dr Adams"))); // the user picks
        QCOMPARE(vet->BoundText().toInt(), 1);
        QVERIFY(w.dc->moveNext());
        QCOMPARE(scalar("SELECT pet_vet_id FROM tbl_pet WHERE pet_id = 1").toInt(), 1);
        // The dangling id shows blank and is kept when another field is saved.
        QCOMPARE(vet->Text(), QString());
        QCOMPARE(vet->BoundText().toInt(), 99);
        w.name->setText(QStringLiteral("Tom II"));
        QVERIFY(w.dc->moveFirst());
        QCOMPARE(scalar("SELECT pet_vet_id FROM tbl_pet WHERE pet_id = 2").toInt(), 99);
        // A value set by code (a person just added) shows its name; a text that
        // names nobody stores Null.
        contacts.refresh();
        vet->setBoundText(3);
        QCOMPARE(vet->Text(), QStringLiteral("Carla"));
        QVERIFY(w.dc->dataChanged(vet));
        vet->setEditText(QStringLiteral("Nobody"));
        QVERIFY(vet->BoundText().isNull());
        QVERIFY(w.dc->moveNext());
        QVERIFY(scalar("SELECT pet_vet_id FROM tbl_pet WHERE pet_id = 1").isNull());
        // Choosing by text picks the row whatever the case.
        vet->setText(QStringLiteral("dr adams"));
        QCOMPARE(vet->BoundText().toInt(), 1);
    }

    void checkBoxesStoreTrueAsMinusOne_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("-1") << QVariant(-1) << true;
        QTest::newRow("1") << QVariant(1) << true;
        QTest::newRow("7") << QVariant(7) << true;
        QTest::newRow("0") << QVariant(0) << false;
    }

    void checkBoxesStoreTrueAsMinusOne()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, checked);
        exec("INSERT INTO tbl_event (event_id, event_name, event_all_day) VALUES (1, 'Walk', ?)", {stored});
        QDialog window;
        DataControl dc(&window);
        dc.setDatabase(gDataDB.get());
        auto *allDay = new QCheckBox(&window);
        dc.bind(allDay, QStringLiteral("event_all_day"));
        dc.setRecordSource(QStringLiteral("tbl_event"));
        QVERIFY(dc.refresh());
        QCOMPARE(allDay->isChecked(), checked);
        allDay->setChecked(!checked);
        QVERIFY(dc.update());
        QCOMPARE(scalar("SELECT event_all_day FROM tbl_event").toInt(), checked ? 0 : -1);
    }

    void textBoxesKeepTheColumnWidth()
    {
        exec("UPDATE tbl_pet SET pet_name = ? WHERE pet_id = 2", {QString(60, QLatin1Char('x'))});
        PetWindow w;
        QCOMPARE(w.name->maxLength(), 50);
        QVERIFY(w.dc->moveNext());
        QCOMPARE(w.name->text().size(), 60); // old, longer text still shows whole
        QVERIFY(w.dc->moveFirst());
        QCOMPARE(w.name->maxLength(), 50);

        exec("INSERT INTO tbl_contact (contact_id, contact_name) VALUES (9, 'Long')");
        QDialog window;
        DataControl dc(&window);
        dc.setDatabase(gDataDB.get());
        auto *address = new QPlainTextEdit(&window);
        auto *email = new QLineEdit(&window);
        dc.bind(address, QStringLiteral("contact_address"));
        dc.bind(email, QStringLiteral("contact_email"));
        dc.setRecordSource(QStringLiteral("SELECT * FROM tbl_contact WHERE contact_id = 9"));
        QVERIFY(dc.refresh());
        QCOMPARE(email->maxLength(), 32767); // no width: no limit of ours
        address->setFocus();
        QTest::keyClicks(address, QString(95, QLatin1Char('a')));
        QTest::keyClicks(address, QStringLiteral("bcdefghij"));
        QCOMPARE(address->toPlainText(), QString(95, QLatin1Char('a')) + QStringLiteral("bcdef"));
        address->insertPlainText(QStringLiteral("pasted"));
        QCOMPARE(address->toPlainText().size(), 100);
    }

    // A label's caption written by code is stored with the record; a widget
    // with a USER property of its own binds through it.
    void labelsAndUserPropertiesBind()
    {
        QDialog window;
        DataControl dc(&window);
        dc.setDatabase(gDataDB.get());
        auto *type1 = new QLabel(&window);
        auto *type2 = new QLabel(&window);
        auto *notes = new UserPropertyBox(&window);
        dc.bind(type1, QStringLiteral("contact_ph_1_type"));
        dc.bind(type2, QStringLiteral("contact_ph_2_type"));
        dc.bind(notes, QStringLiteral("contact_notes"));
        dc.setRecordSource(QStringLiteral("SELECT * FROM tbl_contact WHERE contact_id = 0"));
        QVERIFY(dc.refresh());
        QVERIFY(dc.addNew());
        type1->setText(QStringLiteral("Home"));
        type2->setText(QStringLiteral("Work"));
        dc.setDataChanged(type2, false);
        QVERIFY(dc.dataChanged(type1));
        notes->setTextRTF(QStringLiteral("{\\rtf1 Likes cats}"));
        QVERIFY(dc.update());
        QCOMPARE(scalar("SELECT contact_ph_1_type || '|' || ifnull(contact_ph_2_type, 'null') || '|' || "
                        "contact_notes FROM tbl_contact WHERE contact_id = 4")
                     .toString(),
                 QStringLiteral("Home|null|{\\rtf1 Likes cats}"));
        exec("UPDATE tbl_contact SET contact_notes = '{\\rtf1 Hates cats}' WHERE contact_id = 4");
        dc.setRecordSource(QStringLiteral("SELECT * FROM tbl_contact ORDER BY contact_id"));
        QVERIFY(dc.refresh());
        QVERIFY(dc.moveToKey(4));
        QCOMPARE(notes->toPlainText(), QStringLiteral("Hates cats"));
        QVERIFY(!dc.dataChanged());
    }

    void gridMovesTheCurrentRow()
    {
        PetWindow w(QStringLiteral("SELECT * FROM qry_vaccine ORDER BY vaccine_id"));
        auto *vaccine = new QLineEdit(&w.window);
        w.dc->bind(vaccine, QStringLiteral("vaccine_name"));
        DataGrid grid(&w.window);
        grid.setDataSource(w.dc);
        grid.setColumns({{QStringLiteral("vaccine_id"), QString()},
                         {QStringLiteral("vaccine_name"), QStringLiteral("Vaccine / Med")},
                         {QStringLiteral("vaccine_expiration_date"), QStringLiteral("Expires")}});
        int changes = 0;
        connect(&grid, &DataGrid::rowColChange, this, [&] { ++changes; });
        QCOMPARE(grid.model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Vaccine / Med"));
        QVERIFY(grid.isColumnHidden(0));
        QVERIFY(!grid.isColumnHidden(3));
        QVERIFY(grid.isColumnHidden(10));
        QCOMPARE(grid.Row(), 0);
        const QModelIndex expires = grid.model()->index(0, 5);
        QCOMPARE(static_cast<QStyledItemDelegate *>(grid.itemDelegate())->displayText(expires.data(), QLocale()),
                 QStringLiteral("1/1/2025"));

        w.rec.seen.clear();
        grid.setCurrentIndex(grid.model()->index(1, 3)); // the user picks the second row
        QCOMPARE(w.dc->absolutePosition(), 1);
        QCOMPARE(vaccine->text(), QStringLiteral("Distemper"));
        QCOMPARE(changes, 1);
        QCOMPARE(w.rec.seen.back().action, int(DataControl::ActionBookmark));

        // The validate event refuses: the grid goes back.
        w.rec.setAction = DataControl::ActionCancel;
        grid.setCurrentIndex(grid.model()->index(0, 3));
        QCOMPARE(w.dc->absolutePosition(), 1);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(changes, 1);
        w.rec.setAction.reset();

        // A half-typed new row is abandoned when the user picks a row.
        QVERIFY(w.dc->addNew());
        QCOMPARE(grid.Row(), -1);
        vaccine->setText(QStringLiteral("Half typed"));
        grid.setCurrentIndex(grid.model()->index(0, 3));
        QCOMPARE(w.dc->absolutePosition(), 0);
        QCOMPARE(vaccine->text(), QStringLiteral("Rabies"));
        QCOMPARE(count("SELECT count(*) FROM tbl_vaccine"), 2);
        QCOMPARE(changes, 2);

        // A row written through the control shows in the grid at once.
        QVERIFY(w.dc->addNew());
        vaccine->setText(QStringLiteral("Kennel cough"));
        QVERIFY(w.dc->setField(QStringLiteral("vaccine_pet_id"), 1));
        QVERIFY(w.dc->update());
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.Row(), 2);
    }

    void autoComplete_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("afterText");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<bool>("swallowed");
        QTest::newRow("m at empty") << "" << 0 << "m"
                                    << "Male" << 1 << 3 << true;
        QTest::newRow("a after M") << "Male" << 1 << "a"
                                   << "Male" << 2 << 2 << true;
        QTest::newRow("F") << "" << 0 << "F"
                           << "Female" << 1 << 5 << true;
        QTest::newRow("no match") << "" << 0 << "x"
                                  << "x" << 1 << 0 << false;
        QTest::newRow("[ is a letter") << "" << 0 << "["
                                       << "[Vet] visit" << 1 << 10 << true;
        QTest::newRow("# is a letter") << "" << 0 << "#"
                                       << "#1 food" << 1 << 6 << true;
        QTest::newRow("? is a letter") << "" << 0 << "?"
                                       << "?" << 1 << 0 << false;
        QTest::newRow("a[ finds nothing") << "a" << 1 << "["
                                          << "a[" << 2 << 0 << false;
        QTest::newRow("backspace deletes one") << "Male" << 3 << "\b"
                                               << "Mae" << 2 << 0 << false;
        QTest::newRow("backspace at 1") << "Male" << 1 << "\b"
                                        << "ale" << 0 << 0 << false;
        QTest::newRow("backspace at 0") << "Male" << 0 << "\b"
                                        << "Male" << 0 << 0 << false;
    }

    void autoComplete()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, key);
        QFETCH(QString, afterText);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(bool, swallowed);
        for (const char *c : {"Female", "Male", "[Vet] visit", "#1 food", ""})
            exec("INSERT INTO tbl_diary (diary_pet_id, diary_category) VALUES (1, ?)", {QString::fromUtf8(c)});
        DataControl lookup;
        lookup.setDatabase(gDataDB.get());
        lookup.setReadOnly(true);
        lookup.setRecordSource(QStringLiteral("SELECT DISTINCT diary_category FROM tbl_diary ORDER BY diary_category"));
        QVERIFY(lookup.refresh());
        DbCombo combo;
        combo.setRowSource(&lookup);
        combo.setListField(QStringLiteral("diary_category"));
        bool wasSwallowed = false;
        connect(&combo, &DbCombo::keyPress, this, [&](int &k) {
            subComboAutoComplete(&combo, &lookup, QStringLiteral("diary_category"), k);
            wasSwallowed = k == 0;
        });
        combo.show();
        combo.setEditText(text);
        combo.lineEdit()->setCursorPosition(caret);
        if (key == "\b")
            QTest::keyClick(&combo, Qt::Key_Backspace);
        else
            QTest::keyClicks(&combo, key);
        QCOMPARE(combo.Text(), afterText);
        QCOMPARE(combo.SelStart(), selStart);
        QCOMPARE(combo.SelLength(), selLength);
        QCOMPARE(wasSwallowed, swallowed);
        if (swallowed)
            QCOMPARE(lookup.field(QStringLiteral("diary_category")).toString(), afterText);
    }

    // The gender box's routine completes from the system file's genders.
    void genderCompletesFromItsList()
    {
        DataControl genders;
        genders.setDatabaseName(gSystemDBPath);
        genders.setRecordSource(QStringLiteral("tbl_gender"));
        QVERIFY(genders.refresh());
        DbCombo combo;
        combo.show();
        int k = 'f';
        subAutoCompleteGender(&combo, &genders, k);
        QCOMPARE(combo.Text(), QStringLiteral("Female"));
        QCOMPARE(k, 0);
    }
};

ZORBI_TEST_MAIN(TestDataControl)
#include "tst_data_control.moc"
