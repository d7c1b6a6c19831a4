// The contact handler on a real data file: the address book's fill and
// toolbar, the codes and their messages, deleting, opening addresses, and the
// main window's and the context menu's calls.

#include "core/frm_controls.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/shell.h"
#include "records/contact_handler.h"
#include "records/frm_contact_detail.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>

using testsupport::ProgramFolder;
using Shown = ui::ScriptedDialogs::Shown;

using testsupport::count;
namespace {

long addContact(const QVariant &name, const QVariant &phone = {}, const QVariant &type = {}, const QVariant &email = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name, contact_ph_1, contact_ph_1_type, "
                                    "contact_email) VALUES (?, ?, ?, ?)"),
                     {name, phone, type, email});
    return long(gDataDB->lastInsertId().toLongLong());
}

// The address book as shown, one "name | phone | e-mail | tag" a row.
QStringList shownRows()
{
    const QAbstractItemModel *m = gMain->ListView_Contact->findChild<QTreeView *>("reportView")->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << QStringList{m->index(r, 0).data().toString(), m->index(r, 1).data().toString(),
                           m->index(r, 2).data().toString(), m->index(r, 0).data(Qt::UserRole + 2).toString()}
                   .join(" | ");
    return out;
}

QStringList shownNames(int column = 0)
{
    const QAbstractItemModel *m = gMain->ListView_Contact->findChild<QTreeView *>("reportView")->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, column).data().toString();
    return out;
}

QStringList messages(ProgramFolder &pf)
{
    QStringList texts;
    for (const Shown &s : pf.dialogs().shown())
        texts << s.text;
    return texts;
}

} // namespace

class TestContactHandler : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listFill();
    void emptyBookIsNoError();
    void sortByEachColumn();
    void showSetsTheViewAndToolbar_data();
    void showSetsTheViewAndToolbar();
    void invalidCodes_data();
    void invalidCodes();
    void editOfNoOneOrAGonePerson();
    void deleteAsks_data();
    void deleteAsks();
    void openAddresses_data();
    void openAddresses();
    void printCodes();
    void mainWindowAndContextMenu();

private:
    std::unique_ptr<ProgramFolder> m_pf;
    QStringList m_calls;
    QStringList m_opened;
};

void TestContactHandler::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB && gSystemDB);
    m_calls.clear();
    m_opened.clear();
    subjectRoutines().reportHandler = [this](QWidget *, int a, long id, long rec, bool flag) {
        m_calls << QStringLiteral("report(%1,%2,%3,%4)").arg(a).arg(id).arg(rec).arg(flag);
        return false;
    };
    shell::setOpener([this](const QString &target, const QString &, bool isProgram) {
        m_opened << (isProgram ? QStringLiteral("program ") : QString()) + target;
    });
    m_pf->dialogs().clear();
}

void TestContactHandler::cleanup()
{
    shell::setOpener(nullptr);
    resetSubjectRoutines();
    m_pf.reset();
}

void TestContactHandler::listFill()
{
    const long bea = addContact("bea", QVariant(), "Home");        // a type without a number
    const long none = addContact(QVariant(), "555-1", QVariant()); // no name; a number without a type
    const long al = addContact("Al \"Doc\" O'Neil", "555-2", "Work", "al@vet.example");
    const long carl = addContact("Carl", QVariant(), QVariant(), ""); // no phone, an empty e-mail
    QVERIFY(funContactHandler(gMain, ActionRefresh, 0, QString()));

    // By name without regard to case; no name first, as the file sorts it.
    QCOMPARE(shownRows(), (QStringList{QStringLiteral("(None) | 555-1 |  | %1").arg(none),
                                       QStringLiteral("Al \"Doc\" O'Neil | Work 555-2 | al@vet.example | %1").arg(al),
                                       QStringLiteral("bea | Home  |  | %1").arg(bea),
                                       QStringLiteral("Carl |  |  | %1").arg(carl)}));
    // Every person shows the address book's image 1, in both sizes.
    const QAbstractItemModel *m = gMain->ListView_Contact->findChild<QTreeView *>("reportView")->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QCOMPARE(m->index(r, 0).data(Qt::UserRole + 3).toInt(), 1);
        QCOMPARE(m->index(r, 0).data(Qt::UserRole + 4).toInt(), 1);
    }
    QVERIFY(!gMain->ImageListContact_small->picture(1).isNull());
    QVERIFY(!gMain->ImageListContact_large->picture(1).isNull());

    // A refill replaces the rows.
    gDataDB->execute("DELETE FROM tbl_contact WHERE contact_id = ?", {qlonglong(bea)});
    QVERIFY(funContactHandler(gMain, ActionRefresh, 0, QString()));
    QCOMPARE(gMain->ListView_Contact->ItemCount(), 3);
}

void TestContactHandler::emptyBookIsNoError()
{
    QVERIFY(funContactHandler(gMain, ActionShow, 0, QString()));
    QCOMPARE(gMain->ListView_Contact->ItemCount(), 0);
    QVERIFY(m_pf->dialogs().shown().empty());
}

void TestContactHandler::sortByEachColumn()
{
    addContact("Bo", "2", "Work", "z@x.example");
    addContact("al", "3", "Home", "y@x.example");
    addContact("Cy", "1", "Fax", QVariant());
    QVERIFY(funContactHandler(gMain, ActionShow, 0, QString()));
    gMain->ListView_Contact->setView(3);
    // A header click sorts by its column, descending first, then ascending.
    gMain->ListView_ColumnClick(gMain->ListView_Contact, 1);
    QCOMPARE(shownNames(), (QStringList{"Cy", "Bo", "al"}));
    gMain->ListView_ColumnClick(gMain->ListView_Contact, 2);
    QCOMPARE(shownNames(1), (QStringList{"Fax 1", "Home 3", "Work 2"}));
    gMain->ListView_ColumnClick(gMain->ListView_Contact, 3);
    QCOMPARE(shownNames(2), (QStringList{"z@x.example", "y@x.example", ""}));
    // A refill keeps the chosen order.
    addContact("Di", "4", "Work", "a@x.example");
    QVERIFY(funContactHandler(gMain, ActionRefresh, 0, QString()));
    QCOMPARE(shownNames(2), (QStringList{"z@x.example", "y@x.example", "a@x.example", ""}));
}

void TestContactHandler::showSetsTheViewAndToolbar_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("pressed"); // of the three view buttons
    QTest::newRow("large icons") << 0 << 0;
    QTest::newRow("small icons") << 1 << 1;
    QTest::newRow("list") << 2 << 0;
    QTest::newRow("report") << 3 << 2;
}

void TestContactHandler::showSetsTheViewAndToolbar()
{
    QFETCH(int, mode);
    QFETCH(int, pressed);
    addContact("Al");
    // From another view, with every item as another view left it.
    CtToolBar *tb = gMain->ctToolbar_MainToolbar;
    const MainToolItems &t = gMain->toolItems;
    const std::vector<int> listItems{t.sepPrint, t.print,      t.sepDelete,   t.del,
                                     t.sepViews, t.largeIcons, t.mediumIcons, t.details};
    for (int id : listItems)
        tb->setItemVisible(id, false);
    for (int id : t.calendarGroup())
        tb->setItemVisible(id, true);
    tb->setItemEnabled(t.print, false);
    tb->setItemEnabled(t.del, true);
    gListviewAddress = mode;
    gCurrentView = 1;

    QVERIFY(funContactHandler(gMain, ActionShow, 0, QString()));
    QCOMPARE(gCurrentView, 2);
    QCOMPARE(gMain->shownView(), 2);
    QCOMPARE(gMain->ListView_Contact->View(), mode);
    QCOMPARE(gMain->ListView_Contact->ItemCount(), 1);
    for (int id : listItems)
        QVERIFY2(tb->itemVisible(id), qPrintable(tb->itemText(id)));
    for (int id : t.calendarGroup())
        QVERIFY2(!tb->itemVisible(id), qPrintable(tb->itemText(id)));
    QVERIFY(tb->itemEnabled(t.print));
    QVERIFY(!tb->itemEnabled(t.del));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tb->itemState(t.viewButtons()[size_t(i)]), i == pressed);
}

void TestContactHandler::invalidCodes_data()
{
    QTest::addColumn<int>("code");
    for (int code : {0, 4, 8, 12, 16, 17, 19, 21, -1})
        QTest::newRow(qPrintable(QString::number(code))) << code;
}

void TestContactHandler::invalidCodes()
{
    QFETCH(int, code);
    const long al = addContact("Al");
    QVERIFY(!funContactHandler(gMain, code, al, QString("Al")));
    QCOMPARE(messages(*m_pf), QStringList{"Invalid function specified in funContactHandler"});
    const Shown &s = m_pf->dialogs().shown().front();
    QCOMPARE(s.buttons, int(ui::OKOnly));
    QCOMPARE(s.title, QString("Zorbi 2003"));
    QCOMPARE(count("SELECT COUNT(*) FROM tbl_contact"), 1);
    QVERIFY(m_calls.isEmpty());
}

void TestContactHandler::editOfNoOneOrAGonePerson()
{
    bool windowShown = false;
    auto watch = testsupport::onModal<frm_contact_detail>([&windowShown](frm_contact_detail *) { windowShown = true; });
    QVERIFY(!funContactHandler(gMain, ActionEdit, 0, QString()));
    QVERIFY(m_pf->dialogs().shown().empty());

    const long gone = addContact("Gone");
    gDataDB->execute("DELETE FROM tbl_contact WHERE contact_id = ?", {qlonglong(gone)});
    QVERIFY(!funContactHandler(gMain, ActionEdit, gone, QString()));
    QCOMPARE(messages(*m_pf), QStringList{"Person not found, may have been deleted."});
    QCOMPARE(m_pf->dialogs().shown().front().title, QString("Error"));
    QCOMPARE(m_pf->dialogs().shown().front().icon, int(ui::Information));
    QTest::qWait(20);
    QVERIFY(!windowShown);
    delete watch.data();

    // A person without a name opens as "(None)".
    const long none = addContact(QVariant());
    QString title;
    testsupport::onModal<frm_contact_detail>([&title](frm_contact_detail *w) {
        title = w->windowTitle();
        w->close();
    });
    QVERIFY(funContactHandler(gMain, ActionEdit, none, QString()));
    QCOMPARE(title, QString("(None)"));
}

void TestContactHandler::deleteAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("No keeps the person") << int(ui::No) << false;
    QTest::newRow("Yes deletes") << int(ui::Yes) << true;
}

void TestContactHandler::deleteAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    const QString name = QStringLiteral("Al \"Doc\" O'Neil");
    const long al = addContact(name);
    const long bo = addContact("Bo");
    gDataDB->execute("INSERT INTO tbl_pet (pet_name, pet_species_id, pet_vet_id) VALUES ('Rex', 1, ?)",
                     {qlonglong(al)});
    QVERIFY(funContactHandler(gMain, ActionRefresh, 0, QString()));
    m_pf->dialogs().queue(answer);
    QCOMPARE(funContactHandler(gMain, ActionDelete, al, name), deleted);

    const Shown &s = m_pf->dialogs().shown().front();
    QCOMPARE(s.text, QString("Are you sure you want to delete \"Al \"Doc\" O'Neil\"?"));
    QCOMPARE(s.title, QString("Confirm Delete"));
    QCOMPARE(s.buttons, int(ui::YesNo));
    QCOMPARE(s.icon, int(ui::Question));
    QCOMPARE(s.defaultButton, 2);
    QCOMPARE(count("SELECT COUNT(*) FROM tbl_contact WHERE contact_id = ?", {qlonglong(al)}), deleted ? 0 : 1);
    QCOMPARE(count("SELECT COUNT(*) FROM tbl_contact WHERE contact_id = ?", {qlonglong(bo)}), 1);
    // The pet keeps the id (never given again); the list is the caller's to refill.
    QCOMPARE(count("SELECT pet_vet_id FROM tbl_pet"), int(al));
    QCOMPARE(gMain->ListView_Contact->ItemCount(), 2);
}

void TestContactHandler::openAddresses_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("opened"); // "" nothing
    QTest::addColumn<bool>("refused");   // the user is told it is no address

    QTest::newRow("empty") << 13 << ""
                           << "" << false;
    QTest::newRow("e-mail without a scheme") << 13 << "bob@x.example"
                                             << "mailto:bob@x.example" << false;
    QTest::newRow("e-mail, code 14") << 14 << " bob@x.example "
                                     << "mailto:bob@x.example" << false;
    QTest::newRow("mailto kept") << 13 << "mailto:bob@x.example"
                                 << "mailto:bob@x.example" << false;
    QTest::newRow("web without a scheme") << 13 << "www.vet.example"
                                          << "http://www.vet.example" << false;
    QTest::newRow("web with a path") << 13 << "vet.example/hours"
                                     << "http://vet.example/hours" << false;
    QTest::newRow("https kept") << 14 << "https://vet.example/"
                                << "https://vet.example/" << false;
    QTest::newRow("a program") << 13 << "/bin/sh"
                               << "" << true;
    QTest::newRow("a local file") << 13 << "file:///etc/passwd"
                                  << "" << true;
    QTest::newRow("another scheme") << 13 << "javascript:alert(1)"
                                    << "" << true;
}

void TestContactHandler::openAddresses()
{
    QFETCH(int, code);
    QFETCH(QString, stored);
    QFETCH(QString, opened);
    QFETCH(bool, refused);
    QVERIFY(funContactHandler(gMain, code, 0, stored));
    QCOMPARE(m_opened, opened.isEmpty() ? QStringList() : QStringList{opened});
    QCOMPARE(int(m_pf->dialogs().shown().size()), refused ? 1 : 0);
}

void TestContactHandler::printCodes()
{
    // The listing through the printouts, for everyone.
    funContactHandler(gMain, ActionPrintList, 0, QString());
    QCOMPARE(m_calls, QStringList{"report(19,2,0,0)"});
    // The toolbar's Print on the address book asks for the same.
    QVERIFY(funContactHandler(gMain, ActionShow, 0, QString()));
    gMain->ctToolbar_MainToolbar_ItemClick(gMain->toolItems.print);
    QCOMPARE(m_calls, (QStringList{"report(19,2,0,0)", "report(19,2,0,0)"}));
}

void TestContactHandler::mainWindowAndContextMenu()
{
    const long al = addContact("Al");
    QVERIFY(funContactHandler(gMain, ActionShow, 0, QString()));
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(2);

    // New from the toolbar, then from the context menu: each refills the book.
    int shown = 0;
    auto addNamed = [&shown](const QString &name) {
        return testsupport::onModal<frm_contact_detail>([&shown, name](frm_contact_detail *w) {
            ++shown;
            QCOMPARE(w->windowTitle(), QString("New Person"));
            static_cast<QLineEdit *>(w->txtcontact[0])->setText(name);
            w->ctToolbar_Toolbar_ItemClick(w->toolItems.saveClose);
        });
    };
    addNamed("Bo");
    gMain->ctToolbar_MainToolbar_ItemClick(gMain->toolItems.newPerson);
    QCOMPARE(shownNames(), (QStringList{"Al", "Bo"}));
    addNamed("Cy");
    menu->triggerEntry(1, gMain);
    QCOMPARE(shownNames(), (QStringList{"Al", "Bo", "Cy"}));
    QCOMPARE(shown, 2);

    // Open from the context menu, renamed: the book shows the new name.
    testsupport::onModal<frm_contact_detail>([](frm_contact_detail *w) {
        static_cast<QLineEdit *>(w->txtcontact[0])->setText("Ali");
        w->ctToolBar_Menubar_ItemClick(w->menuItems.saveClose);
    });
    menu->setTag(QString::number(al));
    menu->triggerEntry(3, gMain);
    QCOMPARE(shownNames(), (QStringList{"Ali", "Bo", "Cy"}));

    // Delete from the context menu names the selected person.
    const QAbstractItemModel *m = gMain->ListView_Contact->findChild<QTreeView *>("reportView")->model();
    QVERIFY(m->rowCount() == 3);
    m_pf->dialogs().clear();
    m_pf->dialogs().queue(ui::Yes);
    gMain->ListView_Contact->findChild<QTreeView *>("reportView")->setCurrentIndex(m->index(1, 0));
    menu->setTag(gMain->ListView_Contact->SelectedItem()->Tag().toString());
    menu->triggerEntry(5, gMain);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete \"Bo\"?"});
    QCOMPARE(shownNames(), (QStringList{"Ali", "Cy"}));

    // The toolbar's Delete acts on the selected person too.
    m_pf->dialogs().clear();
    m_pf->dialogs().queue(ui::Yes);
    gMain->ListView_Contact->findChild<QTreeView *>("reportView")->setCurrentIndex(m->index(0, 0));
    gMain->ctToolbar_MainToolbar_ItemClick(gMain->toolItems.del);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete \"Ali\"?"});
    QCOMPARE(shownNames(), QStringList{"Cy"});
}

ZORBI_TEST_MAIN(TestContactHandler)
#include "tst_contact_handler.moc"
