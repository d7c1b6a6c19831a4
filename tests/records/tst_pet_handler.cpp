// The pet handler on a real data file: the list bar's pet entries, the pet
// panel, adding through the new-pet prompt, validating, deleting and the
// other codes; and the new-pet prompt itself.

#include "core/frm_controls.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/database.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "records/frm_pet_add.h"
#include "records/frm_pet_detail.h"
#include "platform/controls/tab_strip.h"
#include "records/pet_handler.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeView>
#include <functional>

using testsupport::ProgramFolder;
using Shown = ui::ScriptedDialogs::Shown;

using testsupport::count;
using testsupport::value;
namespace {

QStringList g_calls;

long addPet(const QVariant &name, int species = 1, const QString &picture = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_species_id, pet_picture) VALUES (?, ?, ?)"),
                     {name, species, picture.isEmpty() ? QVariant() : QVariant(picture)});
    return long(gDataDB->lastInsertId().toLongLong());
}

long addPicture(long petId, const QVariant &title, const QString &file = {})
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_picture (picture_pet_id, picture_title, picture_description, "
                                    "picture_filename) VALUES (?, ?, ?, ?)"),
                     {qlonglong(petId), title, QStringLiteral("about ") + title.toString(), file});
    return long(gDataDB->lastInsertId().toLongLong());
}

// Gives the system file's default texts values of the test's own, so that each
// reaches the column it belongs in; the system file is opened again afterwards.
const QStringList kDefaults{"{\\rtf1 feed rtf}", "{\\rtf1 care rtf}", "feed text", "care text"};

void writeDefaults()
{
    subCloseSystemDB();
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("defaults"));
        c.setDatabaseName(funGetDBNameSystem());
        QVERIFY(c.open());
        QSqlQuery q(c);
        QVERIFY(q.prepare(QStringLiteral("UPDATE tbl_defaults SET default_feeding_rtf = ?, default_care_rtf = ?, "
                                         "default_feeding_text = ?, default_care_text = ?")));
        for (const QString &v : kDefaults)
            q.addBindValue(v);
        QVERIFY(q.exec());
        QVERIFY(q.numRowsAffected() > 0);
        c.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("defaults"));
    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
}

void touch(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("picture");
}

QStringList listBarTexts()
{
    QStringList texts;
    for (int i = 1; i <= gMain->ctListBar_main->itemCount(1); ++i)
        texts << gMain->ctListBar_main->itemText(1, i);
    return texts;
}

// Acts on the new-pet prompt once it is up; closes any window left modal so
// that a failing test never hangs.
void onPrompt(std::function<void(frm_pet_add *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *prompt = qobject_cast<frm_pet_add *>(QApplication::activeModalWidget());
        if (prompt)
            act(prompt);
        if (QWidget *left = QApplication::activeModalWidget())
            left->close();
    });
}

// Acts on the pet window once it is the modal window, then closes it; gives
// up after a while so that a failing test never waits.
void onPetWindow(std::function<void(frm_pet_detail *)> act, int triesLeft = 200)
{
    QTimer::singleShot(10, [act, triesLeft] {
        auto *w = qobject_cast<frm_pet_detail *>(QApplication::activeModalWidget());
        if (!w) {
            if (triesLeft > 0)
                onPetWindow(act, triesLeft - 1);
            return;
        }
        act(w);
        w->close();
    });
}

} // namespace

class TestPetHandler : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listBar_data();
    void listBar();
    void panel();
    void panelOfAPetWithoutNameOrRecord();
    void toolbar_data();
    void toolbar();

    void addWithQuotes();
    void addCancelled();
    void prompt_data();
    void prompt();

    void validate_data();
    void validate();

    void deleteAnswerNo();
    void deleteWithPictures();
    void deleteKeepsFilesOthersUse();
    void deleteFailureChangesNothing();

    void otherCodes();
    void defaults();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestPetHandler::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB && gSystemDB);
    g_calls.clear();
    auto &r = subjectRoutines();
    r.calendarHandler = [](QWidget *, int a, const QVariant &d) {
        g_calls << QStringLiteral("calendar(%1,%2)").arg(a).arg(d.toString());
        return false;
    };
    r.reportHandler = [](QWidget *, int a, long id, long rec, bool modal) {
        g_calls << QStringLiteral("report(%1,%2,%3,%4)").arg(a).arg(id).arg(rec).arg(modal);
        return true;
    };
    m_pf->dialogs().clear();
}

void TestPetHandler::cleanup()
{
    resetSubjectRoutines();
    m_pf.reset();
}

void TestPetHandler::listBar_data()
{
    QTest::addColumn<QVariantList>("names");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("no pet") << QVariantList{} << QStringList{"Add New Pet"};
    QTest::newRow("one pet") << QVariantList{"Rex"} << QStringList{"Rex"};
    // Sorted without regard to case; a missing name shows as "(None)".
    QTest::newRow("three pets") << QVariantList{"max", "Bella", QVariant()} << QStringList{"(None)", "Bella", "max"};
    QTest::newRow("empty name") << QVariantList{"", "Zed"} << QStringList{"(None)", "Zed"};
}

void TestPetHandler::listBar()
{
    QFETCH(QVariantList, names);
    QFETCH(QStringList, shown);
    for (const QVariant &n : names)
        addPet(n);
    subRefreshListBar();
    const QStringList fixed{"Printouts", "Calendar", "Photo Gallery", "Address Book", "Preferences"};
    QCOMPARE(listBarTexts(), shown + fixed);
    for (int i = 1; i <= shown.size(); ++i) {
        const int slot = gMain->ctListBar_main->itemCargo(1, i);
        QCOMPARE(slot, i);
        const ListBarItem &e = gListBarCargo[size_t(slot)];
        QCOMPARE(e.view, 1);
        QCOMPARE(e.name, shown[i - 1]);
        if (names.isEmpty())
            QCOMPARE(e.recordID, 0);
        else {
            const QString stored =
                value("SELECT pet_name FROM tbl_pet WHERE pet_id = ?", {qlonglong(e.recordID)}).toString();
            QCOMPARE(stored.isEmpty() ? QString("(None)") : stored, shown[i - 1]);
        }
    }
}

void TestPetHandler::panel()
{
    const long rex = addPet("Rex", 2);
    const long other = addPet("Other");
    const long zoo = addPicture(rex, "Zoo");
    const long none = addPicture(rex, QVariant());
    const long beach = addPicture(rex, "beach");
    const long empty = addPicture(rex, "");
    addPicture(other, "Not Rex's");
    const int startImages = gMain->ImageListpet_large->Count();

    QVERIFY(funPetHandler(gMain, ActionShow, rex, QString(), 1));
    VbListView *l = gMain->ListView_Pet;
    QStringList keys, texts;
    QList<int> tags;
    QStringList descriptions;
    const QStringList expectedKeys{"edit",
                                   "vaccine",
                                   "diary",
                                   "r1",
                                   "r3",
                                   "r4",
                                   "r5",
                                   "r6",
                                   "r7",
                                   "r8",
                                   "r9",
                                   "r10",
                                   "r13",
                                   QString("p%1").arg(none),
                                   QString("p%1").arg(empty),
                                   QString("p%1").arg(beach),
                                   QString("p%1").arg(zoo)};
    // The keys as the list shows them, top to bottom.
    const QAbstractItemModel *shownModel = l->findChild<QTreeView *>("reportView")->model();
    QStringList shownKeys;
    for (int row = 0; row < shownModel->rowCount(); ++row)
        shownKeys << shownModel->index(row, 0).data(Qt::UserRole + 1).toString();
    QCOMPARE(shownKeys, expectedKeys);
    for (const QString &key : expectedKeys) {
        VbListItem *item = l->ListItem(key);
        QVERIFY2(item, qPrintable(key));
        keys << key;
        texts << item->text();
        tags << item->Tag().toInt();
        descriptions << item->SubItems(1);
        QVERIFY2(item->Icon() > 0 && item->SmallIcon() > 0, qPrintable(key));
    }
    QCOMPARE(texts.mid(0, 4),
             (QStringList{"Edit Details", "Update Vaccinations", "Add Diary Entries", "Pet Sitter Instructions"}));
    QCOMPARE(texts.mid(13), (QStringList{"Untitled", "Untitled", "beach", "Zoo"}));
    QCOMPARE(descriptions.mid(0, 3), (QStringList{"Edit pet details", "Update pet vaccinations", "Update pet diary"}));
    QCOMPARE(descriptions[4], QString("Refrigerator Posting, for when family or friends are visiting"));
    QCOMPARE(descriptions[16], QString("about Zoo"));
    QCOMPARE(tags, (QList<int>{1, 1, 1, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 20, 20, 20, 20}));
    QCOMPARE(l->Tag().toLongLong(), qlonglong(rex));
    QCOMPARE(gMain->lblMain[FramePet]->text(), QString(" Rex"));
    QCOMPARE(gCurrentView, 1);
    QCOMPARE(gMain->shownView(), 1);

    // Showing the panel again rebuilds its pictures rather than adding to them,
    // and keeps the picture start-up put first.
    const int afterFirst = gMain->ImageListpet_large->Count();
    QCOMPARE(afterFirst, startImages + 1 + 1 + 1 + 10 + 1);
    const QImage first = gMain->ImageListpet_large->picture(1).pixmap(32).toImage();
    for (int i = 0; i < 3; ++i)
        QVERIFY(funPetHandler(gMain, ActionShow, rex, QString(), 1));
    QCOMPARE(gMain->ImageListpet_large->Count(), afterFirst);
    QCOMPARE(gMain->ImageListpet_small->Count(), afterFirst);
    QCOMPARE(gMain->ImageListpet_large->picture(1).pixmap(32).toImage(), first);
    // A pet without pictures has no picture icons.
    QVERIFY(funPetHandler(gMain, ActionShow, other, QString(), 1));
    QCOMPARE(gMain->ImageListpet_large->Count(), startImages + 13 + 1);
    QCOMPARE(l->ItemCount(), 13 + 1);
}

void TestPetHandler::panelOfAPetWithoutNameOrRecord()
{
    const long nameless = addPet(QVariant());
    QVERIFY(funPetHandler(gMain, ActionShow, nameless, QString(), 1));
    QCOMPARE(gMain->lblMain[FramePet]->text(), QString(" (No Name)"));
    QCOMPARE(gMain->ListView_Pet->Tag().toLongLong(), qlonglong(nameless));
    // A pet that is gone lists nothing and leaves no pet for Print or Delete.
    QVERIFY(funPetHandler(gMain, ActionShow, nameless + 50, QString(), 1));
    QCOMPARE(gMain->ListView_Pet->ItemCount(), 0);
    QVERIFY(gMain->ListView_Pet->Tag().isNull());
    QCOMPARE(gMain->lblMain[FramePet]->text(), QString(" "));
}

void TestPetHandler::toolbar_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("checked"); // of the three view buttons
    QTest::newRow("large icons") << 0 << 0;
    QTest::newRow("small icons") << 1 << 1;
    QTest::newRow("list") << 2 << 0;
    QTest::newRow("report") << 3 << 2;
}

void TestPetHandler::toolbar()
{
    QFETCH(int, mode);
    QFETCH(int, checked);
    CtToolBar *tb = gMain->ctToolbar_MainToolbar;
    const MainToolItems &t = gMain->toolItems;
    gMain->showView(6);
    tb->setItemVisible(t.print, true);
    tb->setItemEnabled(t.del, true);
    gMain->ListView_Pet->setView(mode);
    pet_handler::subPetToolBar(gMain);
    for (int id : {t.sepPrint, t.print, t.sepCalendar, t.lastYear, t.lastMonth, t.today, t.nextMonth, t.nextYear})
        QVERIFY2(!tb->itemVisible(id), qPrintable(tb->itemText(id)));
    for (int id : {t.sepDelete, t.del, t.sepViews, t.largeIcons, t.mediumIcons, t.details})
        QVERIFY2(tb->itemVisible(id), qPrintable(tb->itemText(id)));
    QVERIFY(!tb->itemEnabled(t.del));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tb->itemChecked(t.viewButtons()[size_t(i)]), i == checked);
}

void TestPetHandler::addWithQuotes()
{
    writeDefaults();
    const QString name = QStringLiteral("O'Brien \"Bud\" ');--");
    QStringList opened;
    subjectRoutines().petHandler = [&opened](QWidget *f, int code, long id, const QString &t, int tab) {
        if (code == 2) {
            opened << QStringLiteral("open(%1,%2)").arg(id).arg(tab);
            return true;
        }
        return pet_handler::funPetHandler(f, code, id, t, tab);
    };
    onPrompt([name](frm_pet_add *p) {
        QCOMPARE(p->windowTitle(), QString("Add New Pet"));
        QCOMPARE(p->DBCombo1->currentIndex(), -1);
        QCOMPARE(p->DBCombo1->placeholderText(), QString("(Select Pet Type)"));
        p->txtPet->setText(name);
        p->DBCombo1->setCurrentIndex(p->DBCombo1->findText("Cat"));
        p->cmdOK->click();
    });
    QVERIFY(funPetHandler(gMain, ActionAdd, 0, QString(), 1));
    QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 1);
    const long id = long(value("SELECT pet_id FROM tbl_pet").toLongLong());
    QCOMPARE(opened, QStringList{QString("open(%1,1)").arg(id)});
    QCOMPARE(value("SELECT pet_name FROM tbl_pet").toString(), name);
    QCOMPARE(value("SELECT pet_species_id FROM tbl_pet").toInt(), 2);
    // The default texts, each in its own column; the plain ones are not copied.
    QCOMPARE(value("SELECT pet_feeding_rtf FROM tbl_pet").toString(), kDefaults[0]);
    QCOMPARE(value("SELECT pet_care_rtf FROM tbl_pet").toString(), kDefaults[1]);
    QCOMPARE(value("SELECT pet_feeding FROM tbl_pet").toString(), kDefaults[2]);
    QCOMPARE(value("SELECT pet_care FROM tbl_pet").toString(), kDefaults[3]);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPetHandler::addCancelled()
{
    // The close box, then Cancel: nothing is added and nothing opens.
    onPrompt([](frm_pet_add *p) {
        p->txtPet->setText("Rex");
        p->DBCombo1->setCurrentIndex(0);
        p->close();
    });
    QVERIFY(!funPetHandler(gMain, ActionAdd, 0, QString(), 1));
    onPrompt([](frm_pet_add *p) {
        p->txtPet->setText("Rex");
        p->DBCombo1->setCurrentIndex(0);
        p->cmdCancel->click();
    });
    QVERIFY(!funPetHandler(gMain, ActionAdd, 0, QString(), 1));
    QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 0);
    // Confirmed: the new pet is added and its window opens on the details.
    onPrompt([](frm_pet_add *p) {
        p->txtPet->setText("Rex");
        p->DBCombo1->setCurrentIndex(0);
        p->cmdOK->click();
    });
    QString opened;
    onPetWindow([&opened](frm_pet_detail *w) {
        opened = QString("%1 on tab %2").arg(w->txtPet[0]->text()).arg(w->tbsPet->SelectedIndex());
    });
    QVERIFY(funPetHandler(gMain, ActionAdd, 0, QString(), 1));
    QCOMPARE(opened, QString("Rex on tab 1"));
    QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 1);
}

void TestPetHandler::prompt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("species"); // "" none chosen
    QTest::addColumn<QString>("action");  // ok, cancel, close
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("speciesId");
    QTest::newRow("blanks only") << "   "
                                 << "Dog"
                                 << "ok"
                                 << "Please enter the name of this pet."
                                 << "" << 0;
    QTest::newRow("blanks kept") << " Rex "
                                 << "Dog"
                                 << "ok"
                                 << ""
                                 << " Rex " << 1;
    QTest::newRow("no type") << "Rex"
                             << ""
                             << "ok"
                             << "Please select the type of pet this is."
                             << "" << 0;
    QTest::newRow("close box") << "Rex"
                               << "Dog"
                               << "close"
                               << ""
                               << "" << 0;
    QTest::newRow("cancel") << "Rex"
                            << "Dog"
                            << "cancel"
                            << ""
                            << "" << 0;
    QTest::newRow("valid") << "Tweety"
                           << "Bird"
                           << "ok"
                           << ""
                           << "Tweety" << 3;
    QTest::newRow("too long") << QString(60, 'x') << "Fish"
                              << "ok"
                              << "" << QString(50, 'x') << 4;
}

void TestPetHandler::prompt()
{
    QFETCH(QString, typed);
    QFETCH(QString, species);
    QFETCH(QString, action);
    QFETCH(QString, message);
    QFETCH(QString, name);
    QFETCH(int, speciesId);
    frm_pet_add p(gMain);
    // The types are sorted by name.
    QCOMPARE(p.DBCombo1->itemText(0), QString("Bird"));
    p.show();
    QTest::keyClicks(p.txtPet, typed);
    if (!species.isEmpty())
        p.DBCombo1->setCurrentIndex(p.DBCombo1->findText(species));
    if (action == "ok")
        p.cmdOK->click();
    else if (action == "cancel")
        p.cmdCancel->click();
    else
        p.close();
    const Shown *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    if (message.isEmpty()) {
        QVERIFY(!shown);
        QVERIFY(!p.isVisible());
    } else {
        QVERIFY(shown);
        QCOMPARE(shown->text, message);
        QCOMPARE(shown->title, QString("Pet Type"));
        QCOMPARE(shown->icon, int(ui::Information));
        QVERIFY(p.isVisible()); // the prompt stays for another try
    }
    const std::optional<NewPet> answer = p.answer();
    QCOMPARE(answer.has_value(), speciesId != 0);
    if (answer) {
        QCOMPARE(answer->name, name);
        QCOMPARE(answer->species, long(speciesId));
    }
}

void TestPetHandler::validate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("focus"); // the box that gets the focus on a refusal
    QTest::newRow("no name") << ""
                             << "" << false << "txtPet(0)";
    QTest::newRow("blank name") << "   "
                                << "" << true << "";
    QTest::newRow("no birthday") << "Rex"
                                 << "" << true << "";
    QTest::newRow("typed date") << "Rex"
                                << "2/28/2020" << true << "";
    QTest::newRow("stored form") << "Rex"
                                 << "2020-02-28" << true << "";
    QTest::newRow("impossible day") << "Rex"
                                    << "2/31/2020" << false << "txtPet(3)";
    QTest::newRow("day first") << "Rex"
                               << "31/02/2020" << false << "txtPet(3)";
    QTest::newRow("not a date") << "Rex"
                                << "abc" << false << "txtPet(3)";
}

void TestPetHandler::validate()
{
    QFETCH(QString, name);
    QFETCH(QString, birthday);
    QFETCH(bool, valid);
    QFETCH(QString, focus);
    // A stand-in for the pet window with its name and birthday boxes.
    QWidget window;
    auto *txtName = new QLineEdit(name, &window);
    txtName->setObjectName("txtPet(0)");
    auto *txtBirthday = new QLineEdit(birthday, &window);
    txtBirthday->setObjectName("txtPet(3)");
    txtBirthday->move(0, 40);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(funPetHandler(&window, ActionValidate, 0, QString(), 0), valid);
    const Shown *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    if (valid) {
        QVERIFY(!shown);
        return;
    }
    QVERIFY(shown);
    const bool nameMissing = focus == "txtPet(0)";
    QCOMPARE(shown->text, nameMissing ? QString("Please enter this pet's name")
                                      : QString("Please enter a valid date for this pet's birthday"));
    QCOMPARE(shown->title, nameMissing ? QString("Pet Name") : QString("Pet Birthday"));
    QCOMPARE(shown->icon, int(ui::Information));
    QCOMPARE(QApplication::focusWidget(), window.findChild<QWidget *>(focus));
}

void TestPetHandler::deleteAnswerNo()
{
    const long rex = addPet("Rex", 1, "ZB_00001.jpg");
    touch(gPicturePath + "ZB_00001.jpg");
    subRefreshListBar();
    m_pf->dialogs().queue(ui::No);
    QVERIFY(!funPetHandler(gMain, ActionDelete, rex, QString(), 1));
    const Shown *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(shown);
    QCOMPARE(shown->text, QString("Are you sure you want to delete \"Rex\" and his/her pictures?"));
    QCOMPARE(shown->title, QString("Confirm Delete"));
    QCOMPARE(shown->buttons, int(ui::YesNo));
    QCOMPARE(shown->icon, int(ui::Question));
    QCOMPARE(shown->defaultButton, 2);
    QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 1);
    QVERIFY(QFile::exists(gPicturePath + "ZB_00001.jpg"));
    QVERIFY(g_calls.isEmpty());
    // A pet without a name is named as the list bar shows it.
    const long nameless = addPet("", 1);
    m_pf->dialogs().queue(ui::No);
    QVERIFY(!funPetHandler(gMain, ActionDelete, nameless, QString(), 1));
    QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
             QString("Are you sure you want to delete \"(None)\" and his/her pictures?"));
}

void TestPetHandler::deleteWithPictures()
{
    const long keep = addPet("Bella", 2, "ZB_00003.jpg");
    const long rex = addPet("Rex", 1, "ZB_00001.jpg");
    const long gone = addPet("Gone", 1, "ZB_00009.jpg"); // its file is already missing
    touch(gPicturePath + "ZB_00001.jpg");
    touch(gPicturePath + "ZB_00002.jpg");
    touch(gPicturePath + "ZB_00003.jpg");
    addPicture(rex, "Beach", "ZB_00002.jpg");
    addPicture(rex, "Park");
    addPicture(keep, "Bella's");
    for (long pet : {rex, keep}) {
        gDataDB->execute("INSERT INTO tbl_vaccine (vaccine_pet_id, vaccine_name) VALUES (?, 'Rabies')",
                         {qlonglong(pet)});
        gDataDB->execute("INSERT INTO tbl_diary (diary_pet_id, diary_text) VALUES (?, 'Walk')", {qlonglong(pet)});
        gDataDB->execute("INSERT INTO tbl_command (command_pet_id, command_name) VALUES (?, 'Sit')", {qlonglong(pet)});
        gDataDB->execute("INSERT INTO tbl_property (property_pet_id, property_name) VALUES (?, 'Lead')",
                         {qlonglong(pet)});
    }
    subRefreshListBar();
    m_pf->dialogs().queue(ui::Yes);
    QVERIFY(funPetHandler(gMain, ActionDelete, rex, QString(), 1));
    QCOMPARE(g_calls, QStringList{"calendar(5,)"});
    QCOMPARE(count("SELECT count(*) FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}), 0);
    for (const char *table :
         {"tbl_picture WHERE picture_pet_id", "tbl_vaccine WHERE vaccine_pet_id", "tbl_diary WHERE diary_pet_id",
          "tbl_command WHERE command_pet_id", "tbl_property WHERE property_pet_id"}) {
        QCOMPARE(count(QString("SELECT count(*) FROM %1 = ?").arg(table), {qlonglong(rex)}), 0);
        QCOMPARE(count(QString("SELECT count(*) FROM %1 = ?").arg(table), {qlonglong(keep)}), 1);
    }
    // The pet's own picture goes; a gallery picture's file stays, as does Bella's.
    QVERIFY(!QFile::exists(gPicturePath + "ZB_00001.jpg"));
    QVERIFY(QFile::exists(gPicturePath + "ZB_00002.jpg"));
    QVERIFY(QFile::exists(gPicturePath + "ZB_00003.jpg"));

    // A missing file is no error.
    g_calls.clear();
    m_pf->dialogs().clear();
    m_pf->dialogs().queue(ui::Yes);
    QVERIFY(funPetHandler(gMain, ActionDelete, gone, QString(), 1));
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
    QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 1);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPetHandler::deleteKeepsFilesOthersUse()
{
    // Two records naming one file, and a name that points out of the pictures folder.
    const long rex = addPet("Rex", 1, "ZB_00001.jpg");
    const long twin = addPet("Twin", 1);
    addPicture(twin, "Same file", "ZB_00001.jpg");
    const long sneaky = addPet("Sneaky", 1, "../Zorbi.sys");
    touch(gPicturePath + "ZB_00001.jpg");
    m_pf->dialogs().queue(ui::Yes);
    m_pf->dialogs().queue(ui::Yes);
    QVERIFY(funPetHandler(gMain, ActionDelete, rex, QString(), 1));
    QVERIFY(QFile::exists(gPicturePath + "ZB_00001.jpg"));
    QVERIFY(funPetHandler(gMain, ActionDelete, sneaky, QString(), 1));
    QVERIFY(QFile::exists(m_pf->file("Zorbi.sys")));
    // Not yet in the list bar (a pet just added): the prompt names it from its record.
    QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
             QString("Are you sure you want to delete \"Sneaky\" and his/her pictures?"));
}

void TestPetHandler::deleteFailureChangesNothing()
{
    const long rex = addPet("Rex", 1, "ZB_00001.jpg");
    addPicture(rex, "Beach");
    touch(gPicturePath + "ZB_00001.jpg");
    // The engine refuses to delete the pet once its pictures are already gone.
    QVERIFY(gDataDB->execute("CREATE TEMP TRIGGER no_delete BEFORE DELETE ON tbl_pet "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    m_pf->dialogs().queue(ui::Yes);
    QVERIFY(!funPetHandler(gMain, ActionDelete, rex, QString(), 1));
    const Shown *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QCOMPARE(shown->title, QString("Error - funPetDelete"));
    QVERIFY(shown->text.contains("refused"));
    QCOMPARE(count("SELECT count(*) FROM tbl_picture"), 1);
    QCOMPARE(count("SELECT count(*) FROM tbl_pet"), 1);
    QVERIFY(QFile::exists(gPicturePath + "ZB_00001.jpg"));
    QVERIFY(g_calls.isEmpty());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPetHandler::otherCodes()
{
    const long rex = addPet("Rex");
    for (int code : {4, 8}) {
        m_pf->dialogs().clear();
        QVERIFY(!funPetHandler(gMain, code, rex, QString(), 1));
        const Shown *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
        QVERIFY(shown);
        QCOMPARE(shown->text, QString("Invalid function specified in funPetHandler"));
        QCOMPARE(shown->title, QString("Zorbi 2003"));
        QCOMPARE(shown->buttons, int(ui::OKOnly));
    }
    // Print opens the pet details for the pet, modally, and answers False.
    m_pf->dialogs().clear();
    QVERIFY(!funPetHandler(gMain, ActionPrint, rex, QString(), 1));
    QCOMPARE(g_calls, QStringList{QString("report(19,6,%1,1)").arg(rex)});
    // Opening: no id, or a pet that is gone.
    QVERIFY(!funPetHandler(gMain, ActionEdit, 0, QString(), 3));
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    QVERIFY(!funPetHandler(gMain, ActionEdit, rex + 10, QString(), 3));
    const Shown *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(shown);
    QCOMPARE(shown->text, QString("Pet not found, may have been deleted."));
    QCOMPARE(shown->title, QString("Error"));
    QCOMPARE(shown->icon, int(ui::Information));
    QCOMPARE(gPetDetailTab, 3);
}

void TestPetHandler::defaults()
{
    // As shipped, the rich-text defaults are rich text.
    QVERIFY(pet_handler::funPetGetDefault(1).startsWith("{\\rtf"));
    QVERIFY(pet_handler::funPetGetDefault(2).startsWith("{\\rtf"));
    writeDefaults();
    for (int which = 1; which <= 4; ++which)
        QCOMPARE(pet_handler::funPetGetDefault(which), kDefaults[which - 1]);
    QCOMPARE(pet_handler::funPetGetDefault(5, 6), QString("Rabbit"));
    QCOMPARE(pet_handler::funPetGetDefault(5, 0), QString());
    QCOMPARE(pet_handler::funPetGetDefault(5, QVariant()), QString());
    QCOMPARE(pet_handler::funPetGetDefault(5, 99), QString());
    QCOMPARE(pet_handler::funPetGetDefault(6, 1), QString());
    // Each species has its own icon; another falls back on the program's.
    QVERIFY(!pet_handler::funSpeciesIcon(3).isNull());
    QCOMPARE(pet_handler::funSpeciesIcon(99).pixmap(32).toImage(),
             gControls->ctImageMain.icon(0, 1).pixmap(32).toImage());
}

ZORBI_TEST_MAIN(TestPetHandler)
#include "tst_pet_handler.moc"
