// The person window on a real data file, opened by the contact handler as the
// user opens it: the closing guard, the id it leaves, print, the phone-type menu,
// the e-mail and web buttons, the edit items, delete, a refused write, and
// adding a person from the pet window.

#include "core/frm_controls.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/db_combo.h"
#include "platform/shell.h"
#include "records/contact_handler.h"
#include "records/frm_contact_detail.h"
#include "records/frm_pet_detail.h"
#include "records/pet_handler.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

using testsupport::ProgramFolder;
using Shown = ui::ScriptedDialogs::Shown;
using Act = std::function<void(frm_contact_detail *)>;

using testsupport::value;
namespace {

const QString kNoName = QStringLiteral("Please enter a contact name");

long addContact(const QVariant &name, const QVariant &email = {}, const QVariant &www = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name, contact_city, contact_email, contact_www, "
                                    "contact_ph_1_type) VALUES (?, 'Oldtown', ?, ?, 'Home')"),
                     {name, email, www});
    return long(gDataDB->lastInsertId().toLongLong());
}

int people() { return value("SELECT COUNT(*) FROM tbl_contact").toInt(); }

QLineEdit *line(frm_contact_detail *w, int index) { return static_cast<QLineEdit *>(w->txtcontact[size_t(index)]); }

QStringList messages(ProgramFolder &pf)
{
    QStringList texts;
    for (const Shown &s : pf.dialogs().shown())
        texts << s.text;
    return texts;
}

// Opens the person window as the handler does (a new person for id 0) and
// runs `act` on it while it is up; whether the window was still open after.
// `savedID`: the id the window leaves (for a new person, what adding returns).
bool withWindow(long id, const Act &act, long *savedID = nullptr)
{
    bool seen = false, open = false;
    long left = -7; // nothing the window could leave
    testsupport::onModal<frm_contact_detail>([&](frm_contact_detail *w) {
        seen = true;
        act(w);
        open = w->isVisible();
        left = w->savedRecordID();
    });
    if (id)
        funContactHandler(gMain, ActionEdit, id, QString());
    else
        left = funContactAddNew(gMain);
    if (savedID)
        *savedID = left;
    if (!seen)
        qWarning("the person window never showed");
    return open;
}

} // namespace

class TestContactDetail : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newPersonStartsWithPhoneTypes();
    void closeGuard_data();
    void closeGuard();
    void lastRecordIdAfterEachClose_data();
    void lastRecordIdAfterEachClose();
    void print_data();
    void print();
    void printsTheWindowItself();
    void phoneTypeFromTheMenu();
    void mailAndWebOpenTheStoredAddress();
    void editItemsFollowTheFocus();
    void deleteDropsPendingEdits();
    void refusedWriteKeepsTheWindow();
    void addPeopleFromThePetWindow();
    void aDeletedVetShowsAsNoOne();

private:
    std::unique_ptr<ProgramFolder> m_pf;
    QStringList m_opened;
};

void TestContactDetail::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB && gSystemDB);
    m_opened.clear();
    shell::setOpener([this](const QString &target, const QString &, bool) { m_opened << target; });
    m_pf->dialogs().clear();
}

void TestContactDetail::cleanup()
{
    shell::setOpener(nullptr);
    resetSubjectRoutines();
    m_pf.reset();
}

void TestContactDetail::newPersonStartsWithPhoneTypes()
{
    withWindow(0, [](frm_contact_detail *w) {
        QCOMPARE(w->windowTitle(), QString("New Person"));
        QCOMPARE(w->lblcontact[1]->text(), QString("Home"));
        QCOMPARE(w->lblcontact[2]->text(), QString("Work"));
        QCOMPARE(w->lblcontact[3]->text(), QString("Fax"));
        QCOMPARE(w->lblcontact[0]->text(), QString("Ph 1:"));
        QCOMPARE(w->lblcontact[5]->text(), QString("Ph 3:"));
        // The delete commands wait for the person to be written.
        QVERIFY(!w->ctToolBar_Menubar->itemEnabled(w->menuItems.del));
        QVERIFY(!w->ctToolbar_Toolbar->itemEnabled(w->toolItems.del));
        // The boxes take no more than their fields hold.
        QCOMPARE(line(w, 0)->maxLength(), 50);
        QCOMPARE(line(w, 4)->maxLength(), 2);
        QCOMPARE(line(w, 9)->maxLength(), 30);
        static_cast<QPlainTextEdit *>(w->txtcontact[2])->setPlainText(QString(120, 'a'));
        QCOMPARE(static_cast<QPlainTextEdit *>(w->txtcontact[2])->toPlainText().size(), 100);
        line(w, 0)->setText("Al \"Doc\" O'Neil");
        w->ctToolbar_Toolbar_ItemClick(w->toolItems.saveClose);
    });
    QCOMPARE(value("SELECT contact_name || '/' || contact_ph_1_type || '/' || contact_ph_2_type || '/' || "
                   "contact_ph_3_type FROM tbl_contact")
                 .toString(),
             QString("Al \"Doc\" O'Neil/Home/Work/Fax"));
}

void TestContactDetail::closeGuard_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("name");      // "-": left as it is
    QTest::addColumn<QString>("city");      // "-": left as it is
    QTest::addColumn<bool>("saveAndClose"); // else the close box
    QTest::addColumn<QVariantList>("answers");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QString>("stored"); // name/city of the person, "" for no row

    const QStringList ask{"Save Changes?"};
    QTest::newRow("new, nothing typed, Save & Close")
        << false << "-"
        << "-" << true << QVariantList{} << QStringList{kNoName} << false << "";
    QTest::newRow("new, no name, Save & Close, Yes") << false << "-"
                                                     << "Rome" << true << QVariantList{ui::OK, ui::Yes}
                                                     << QStringList{kNoName, "Save Changes?", kNoName} << true << "";
    QTest::newRow("new, no name, Save & Close, No")
        << false << "-"
        << "Rome" << true << QVariantList{ui::OK, ui::No} << QStringList{kNoName, "Save Changes?"} << false << "";
    QTest::newRow("new, blanks are a name") << false << " "
                                            << "-" << true << QVariantList{} << QStringList{} << false << " /";
    QTest::newRow("new, Save & Close") << false << "Al"
                                       << "Rome" << true << QVariantList{} << QStringList{} << false << "Al/Rome";
    QTest::newRow("new, nothing typed, close") << false << "-"
                                               << "-" << false << QVariantList{} << QStringList{} << false << "";
    QTest::newRow("new, close, Yes") << false << "Al"
                                     << "-" << false << QVariantList{ui::Yes} << ask << false << "Al/";
    QTest::newRow("new, close, No") << false << "Al"
                                    << "-" << false << QVariantList{ui::No} << ask << false << "";
    QTest::newRow("edit, untouched, close") << true << "-"
                                            << "-" << false << QVariantList{} << QStringList{} << false << "Bo/Oldtown";
    QTest::newRow("edit, Save & Close") << true << "-"
                                        << "Rome" << true << QVariantList{} << QStringList{} << false << "Bo/Rome";
    QTest::newRow("edit, close, Yes") << true << "-"
                                      << "Rome" << false << QVariantList{ui::Yes} << ask << false << "Bo/Rome";
    QTest::newRow("edit, close, No") << true << "-"
                                     << "Rome" << false << QVariantList{ui::No} << ask << false << "Bo/Oldtown";
    QTest::newRow("edit, name emptied, close, Yes") << true << ""
                                                    << "-" << false << QVariantList{ui::Yes, ui::OK}
                                                    << QStringList{"Save Changes?", kNoName} << true << "Bo/Oldtown";
    QTest::newRow("edit, name emptied, Save & Close, No")
        << true << ""
        << "-" << true << QVariantList{ui::OK, ui::No} << QStringList{kNoName, "Save Changes?"} << false
        << "Bo/Oldtown";
}

void TestContactDetail::closeGuard()
{
    QFETCH(bool, existing);
    QFETCH(QString, name);
    QFETCH(QString, city);
    QFETCH(bool, saveAndClose);
    QFETCH(QVariantList, answers);
    QFETCH(QStringList, shown);
    QFETCH(bool, stillOpen);
    QFETCH(QString, stored);

    const long bo = existing ? addContact("Bo") : 0;
    for (const QVariant &a : answers)
        m_pf->dialogs().queue(a);
    const bool open = withWindow(bo, [&](frm_contact_detail *w) {
        if (name != "-")
            line(w, 0)->setText(name);
        if (city != "-")
            line(w, 3)->setText(city);
        if (saveAndClose)
            w->ctToolBar_Menubar_ItemClick(w->menuItems.saveClose);
        else
            w->close();
    });
    QCOMPARE(messages(*m_pf), shown);
    QCOMPARE(open, stillOpen);
    QVERIFY(!m_pf->dialogs().answersLeft());
    const QVariant row = value("SELECT contact_name || '/' || IFNULL(contact_city, '') FROM tbl_contact");
    QCOMPARE(row.toString(), stored);
}

void TestContactDetail::lastRecordIdAfterEachClose_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("written");
    QTest::newRow("new, close box, nothing typed") << "close" << false;
    QTest::newRow("new, Close item, nothing typed") << "menu close" << false;
    QTest::newRow("new, typed, close, No") << "typed no" << false;
    QTest::newRow("new, no name, Save & Close") << "no name" << false;
    QTest::newRow("new, Save & Close") << "save" << true;
    QTest::newRow("new, typed, close, Yes") << "typed yes" << true;
    QTest::newRow("new, printed, then closed") << "print" << true;
}

void TestContactDetail::lastRecordIdAfterEachClose()
{
    QFETCH(QString, how);
    QFETCH(bool, written);
    subjectRoutines().contactHandler = [](QWidget *f, int code, long id, const QString &t) {
        // The window itself is not printed here.
        return code == 7 ? false : contact_handler::funContactHandler(f, code, id, t);
    };
    // Ids the new row would be given, so that a guessed id shows.
    const long before = addContact("X");
    gDataDB->execute("DELETE FROM tbl_contact");
    QVariant guessed;
    long added = -7;
    withWindow(
        0,
        [&](frm_contact_detail *w) {
            guessed = w->DataDetail->field("contact_id");
            if (how == "close") {
                w->close();
            } else if (how == "menu close") {
                w->ctToolBar_Menubar_ItemClick(w->menuItems.close);
            } else if (how == "typed no" || how == "typed yes") {
                line(w, 0)->setText("Al");
                m_pf->dialogs().queue(how == "typed no" ? ui::No : ui::Yes);
                w->close();
            } else if (how == "no name") {
                w->ctToolBar_Menubar_ItemClick(w->menuItems.saveClose);
            } else if (how == "save") {
                line(w, 0)->setText("Al");
                w->ctToolbar_Toolbar_ItemClick(w->toolItems.saveClose);
            } else if (how == "print") {
                line(w, 0)->setText("Al");
                m_pf->dialogs().queue(ui::Yes);
                w->ctToolbar_Toolbar_ItemClick(w->toolItems.print);
                QVERIFY(w->ctToolbar_Toolbar->itemEnabled(w->toolItems.del)); // written: now it can be deleted
                w->close();
            }
        },
        &added);
    QVERIFY(guessed.toLongLong() > before); // the window knew an id the row would get
    if (written) {
        QCOMPARE(people(), 1);
        QCOMPARE(qlonglong(added), value("SELECT contact_id FROM tbl_contact").toLongLong());
    } else {
        QCOMPARE(people(), 0);
        QCOMPARE(added, 0L);
    }
}

void TestContactDetail::print_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<QString>("stored");
    QTest::newRow("nothing pending") << false << 0 << "Oldtown";
    QTest::newRow("pending, Yes writes") << true << int(ui::Yes) << "Rome";
    QTest::newRow("pending, No drops and prints") << true << int(ui::No) << "Oldtown";
}

void TestContactDetail::print()
{
    QFETCH(bool, typed);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QStringList calls;
    subjectRoutines().contactHandler = [&calls](QWidget *f, int code, long id, const QString &t) {
        if (code == 7) {
            calls << QStringLiteral("print %1 %2").arg(f->objectName()).arg(id);
            return false;
        }
        return contact_handler::funContactHandler(f, code, id, t);
    };
    const long bo = addContact("Bo");
    if (answer)
        m_pf->dialogs().queue(answer);
    withWindow(bo, [&](frm_contact_detail *w) {
        // A first save leaves nothing pending.
        if (!typed) {
            w->ctToolbar_Toolbar_ItemClick(w->toolItems.print);
            calls.clear();
        }
        if (typed)
            line(w, 3)->setText("Rome");
        w->ctToolbar_Toolbar_ItemClick(w->toolItems.print);
        QCOMPARE(line(w, 3)->text(), stored);
        w->close();
    });
    QCOMPARE(calls, QStringList{QStringLiteral("print frm_contact_detail %1").arg(bo)});
    QCOMPARE(messages(*m_pf), answer ? QStringList{"Save Changes?"} : QStringList{});
    QCOMPARE(value("SELECT contact_city FROM tbl_contact").toString(), stored);
}

void TestContactDetail::printsTheWindowItself()
{
    const QString pdf = m_pf->file("person.pdf");
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(pdf);
    // A new person, not saved at the question: printed as it stands, and the
    // window holds a fresh new person that can still be saved.
    withWindow(0, [&](frm_contact_detail *w) {
        line(w, 0)->setText("Al");
        m_pf->dialogs().queue(ui::No);
        w->ctToolBar_Menubar_ItemClick(w->menuItems.print);
        QVERIFY(QFileInfo(pdf).size() > 500);
        QCOMPARE(w->DataDetail->editMode(), int(DataControl::EditAdd));
        QCOMPARE(line(w, 0)->text(), QString());
        QCOMPARE(w->lblcontact[3]->text(), QString("Fax"));
        line(w, 0)->setText("Bo");
        w->ctToolBar_Menubar_ItemClick(w->menuItems.saveClose);
    });
    QCOMPARE(messages(*m_pf), QStringList{"Save Changes?"});
    QCOMPARE(value("SELECT group_concat(contact_name || '/' || contact_ph_3_type) FROM tbl_contact").toString(),
             QString("Bo/Fax"));
}

void TestContactDetail::phoneTypeFromTheMenu()
{
    const long bo = addContact("Bo");
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(0);
    QVERIFY(menu->entryCount() > 2);
    const int mobile = [menu] {
        for (int i = 1; i <= menu->entryCount(); ++i)
            if (menu->entryCaption(i) != "Home" && menu->entryCaption(i) != "Work")
                return i;
        return 0;
    }();
    QVERIFY(mobile > 0);
    const QString chosen = menu->entryCaption(mobile);
    withWindow(bo, [&](frm_contact_detail *w) {
        QApplication::setActiveWindow(w);
        // The button pops the shared menu up for its line; choosing in it
        // writes the line's type and moves on to its number.
        QTimer::singleShot(50, menu->menu(), [menu, mobile] {
            menu->menu()->setActiveAction(menu->menu()->actions().at(mobile - 1));
            QTest::keyClick(menu->menu(), Qt::Key_Return);
        });
        w->cmdcontact_ph_menu[1]->click();
        QCOMPARE(menu->tag(), QString("2"));
        QCOMPARE(w->lblcontact[2]->text(), chosen);
        QCOMPARE(QApplication::focusWidget(), w->txtcontact[10]);
        QCOMPARE(w->lblcontact[1]->text(), QString("Home"));
        w->ctToolBar_Menubar_ItemClick(w->menuItems.saveClose);
    });
    QCOMPARE(value("SELECT contact_ph_2_type FROM tbl_contact").toString(), chosen);
    QCOMPARE(value("SELECT contact_ph_1_type FROM tbl_contact").toString(), QString("Home"));
}

void TestContactDetail::mailAndWebOpenTheStoredAddress()
{
    // A new person has nothing stored, whatever the boxes show.
    withWindow(0, [](frm_contact_detail *w) {
        line(w, 7)->setText("new@x.example");
        line(w, 8)->setText("new.example");
        w->cmdEmail->click();
        w->cmdWWW->click();
        w->ctToolBar_Menubar_ItemClick(w->menuItems.undo); // Undo: nothing left to ask about
        w->close();
    });
    QCOMPARE(m_opened, QStringList());

    const long bo = addContact("Bo", "bo@x.example", "www.bo.example");
    const long cy = addContact("Cy");
    withWindow(bo, [](frm_contact_detail *w) {
        line(w, 7)->setText("typed@x.example"); // not yet stored
        w->cmdEmail->click();
        w->cmdWWW->click();
        w->ctToolBar_Menubar_ItemClick(w->menuItems.undo); // Undo
        w->close();
    });
    QCOMPARE(m_opened, (QStringList{"mailto:bo@x.example", "http://www.bo.example"}));
    // Nothing stored opens nothing.
    m_opened.clear();
    withWindow(cy, [](frm_contact_detail *w) {
        w->cmdEmail->click();
        w->cmdWWW->click();
        w->close();
    });
    QCOMPARE(m_opened, QStringList());
    QCOMPARE(messages(*m_pf), QStringList());
}

void TestContactDetail::editItemsFollowTheFocus()
{
    withWindow(addContact("Bo"), [](frm_contact_detail *w) {
        QApplication::setActiveWindow(w);
        for (QWidget *field : {static_cast<QWidget *>(w->cmdEmail), static_cast<QWidget *>(w->cmdcontact_ph_menu[2]),
                               w->txtcontact[12], static_cast<QWidget *>(w->cmdWWW), w->txtcontact[0]}) {
            field->setFocus();
            QApplication::processEvents();
            const bool text = qobject_cast<QPushButton *>(field) == nullptr;
            QCOMPARE(gActiveControl.data(), field);
            for (int id : w->menuItems.editItems())
                QCOMPARE(w->ctToolBar_Menubar->itemEnabled(id), text);
        }
        w->close();
    });
}

void TestContactDetail::deleteDropsPendingEdits()
{
    const long bo = addContact("Bo");
    // No: the person and the window stay.
    m_pf->dialogs().queue(ui::No);
    QVERIFY(withWindow(bo, [](frm_contact_detail *w) {
        QVERIFY(w->ctToolBar_Menubar->itemEnabled(w->menuItems.del));
        w->ctToolBar_Menubar_ItemClick(w->menuItems.del);
    }));
    QCOMPARE(people(), 1);

    // Yes with edits pending: gone, no question, nothing written, the window closed.
    m_pf->dialogs().clear();
    m_pf->dialogs().queue(ui::Yes);
    long left = -7;
    QVERIFY(!withWindow(
        bo,
        [bo](frm_contact_detail *w) {
            QCOMPARE(w->savedRecordID(), bo); // opened: the person's id
            line(w, 3)->setText("Rome");
            w->ctToolbar_Toolbar_ItemClick(w->toolItems.del);
        },
        &left));
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete \"Bo\"?"});
    QCOMPARE(people(), 0);
    QCOMPARE(left, 0L);
}

void TestContactDetail::refusedWriteKeepsTheWindow()
{
    const long bo = addContact("Bo");
    QVERIFY(gDataDB->execute("CREATE TRIGGER refuse BEFORE UPDATE ON tbl_contact "
                             "BEGIN SELECT RAISE(ABORT, 'the file is locked'); END"));
    QString kept;
    QVERIFY(withWindow(bo, [&kept](frm_contact_detail *w) {
        line(w, 3)->setText("Rome");
        w->ctToolBar_Menubar_ItemClick(w->menuItems.saveClose);
        kept = line(w, 3)->text();
    }));
    QCOMPARE(kept, QString("Rome"));
    QCOMPARE(int(m_pf->dialogs().shown().size()), 1);
    QVERIFY(m_pf->dialogs().shown().front().text.contains("the file is locked"));
    QVERIFY(m_pf->dialogs().shown().front().title.startsWith("Error"));
    QCOMPARE(value("SELECT contact_city FROM tbl_contact").toString(), QString("Oldtown"));
}

void TestContactDetail::addPeopleFromThePetWindow()
{
    const long vet = addContact("Old Vet");
    gDataDB->execute("INSERT INTO tbl_pet (pet_name, pet_species_id, pet_vet_id) VALUES ('Rex', 1, ?)",
                     {qlonglong(vet)});
    const long rex = long(gDataDB->lastInsertId().toLongLong());
    std::unique_ptr<frm_pet_detail> pet(pet_handler::funPetEditWindow(gMain, rex, 1));
    QVERIFY(pet);
    pet->show();

    // Cancelled (closed with nothing typed): the combo stays as it was.
    testsupport::onModal<frm_contact_detail>([](frm_contact_detail *w) { w->close(); });
    pet->cmdPet[2]->click();
    QCOMPARE(pet->DBCbopet[2]->BoundText().toLongLong(), qlonglong(vet));

    // Saved: the vet combo shows the new person; so do the sitter's and the
    // emergency contact's.
    const QStringList names{"New Vet", "Sitter \"Sam\"", "Emma"};
    const int buttons[3] = {2, 0, 1};
    for (int i = 0; i < 3; ++i) {
        testsupport::onModal<frm_contact_detail>([&names, i](frm_contact_detail *w) {
            line(w, 0)->setText(names[i]);
            w->ctToolbar_Toolbar_ItemClick(w->toolItems.saveClose);
        });
        pet->cmdPet[size_t(buttons[i])]->click();
        QCOMPARE(pet->DBCbopet[size_t(buttons[i])]->Text(), names[i]);
    }
    pet->close();
    QCOMPARE(value("SELECT c.contact_name FROM tbl_pet p JOIN tbl_contact c ON c.contact_id = p.pet_vet_id").toString(),
             QString("New Vet"));
    QCOMPARE(
        value("SELECT c.contact_name FROM tbl_pet p JOIN tbl_contact c ON c.contact_id = p.pet_sitter_id").toString(),
        QString("Sitter \"Sam\""));
}

void TestContactDetail::aDeletedVetShowsAsNoOne()
{
    const long vet = addContact("Old Vet");
    gDataDB->execute("INSERT INTO tbl_pet (pet_name, pet_species_id, pet_vet_id) VALUES ('Rex', 1, ?)",
                     {qlonglong(vet)});
    const long rex = long(gDataDB->lastInsertId().toLongLong());
    m_pf->dialogs().queue(ui::Yes);
    QVERIFY(funContactHandler(gMain, ActionDelete, vet, "Old Vet"));
    // The pet keeps the id, which no one is given again; its window shows no vet.
    std::unique_ptr<frm_pet_detail> pet(pet_handler::funPetEditWindow(gMain, rex, 1));
    QVERIFY(pet);
    QCOMPARE(pet->DBCbopet[2]->Text(), QString());
    addContact("New Person");
    QVERIFY(value("SELECT MAX(contact_id) FROM tbl_contact").toLongLong() > vet);
}

ZORBI_TEST_MAIN(TestContactDetail)
#include "tst_contact_detail.moc"
