// The pet window on a real data file: the closing guard, Save & Close, Undo
// and Delete, the notes with their plain copies, the picture, the contact
// combos, the tabs and keys, and the pet's rows on tabs 3 to 6.

#include "platform/dates.h"
#include "core/codes.h"
#include "core/edit.h"
#include "core/frm_controls.h"
#include "core/frm_date.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "core/settings.h"
#include "platform/clock.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/data_grid.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "platform/controls/rich_text_box.h"
#include "platform/controls/tab_strip.h"
#include "platform/controls/vb_image.h"
#include "platform/controls/vb_list_view.h"
#include "platform/rtf.h"
#include "records/frm_pet_detail.h"
#include "records/pet_handler.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <functional>

using testsupport::ProgramFolder;
using Shown = ui::ScriptedDialogs::Shown;
using Window = std::unique_ptr<frm_pet_detail>;

using testsupport::insert;
using testsupport::value;
namespace {

const QString kBadBirthday = QStringLiteral("Please enter a valid date for this pet's birthday");

long addContact(const QString &name, const QVariant &phone = {}, const QVariant &type = {})
{
    return insert(QStringLiteral("INSERT INTO tbl_contact (contact_name, contact_ph_1, contact_ph_1_type) "
                                 "VALUES (?, ?, ?)"),
                  {name, phone, type});
}

// Rex, a dog born 3 April 2019.
long addRex(const QVariant &picture = {})
{
    return insert(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_species_id, pet_dob, pet_picture) "
                                 "VALUES ('Rex', 1, '2019-04-03', ?)"),
                  {picture});
}

long addVaccine(long pet, const QString &name, const QString &expires, const QString &acknowledged = kNotAcknowledged)
{
    return insert(
        QStringLiteral("INSERT INTO tbl_vaccine (vaccine_pet_id, vaccine_name, vaccine_received_date, "
                       "vaccine_expiration_date, vaccine_acknowledged_date) VALUES (?, ?, '2020-01-01', ?, ?)"),
        {qlonglong(pet), name, expires, acknowledged});
}

Window open(long pet, int tab = 1)
{
    Window w(pet_handler::funPetEditWindow(gMain, pet, tab));
    if (w)
        w->show();
    return w;
}

template <typename T> T *child(QWidget *w, const QString &name) { return w->findChild<T *>(name); }

QStringList messages(ProgramFolder &pf)
{
    QStringList texts;
    for (const Shown &s : pf.dialogs().shown())
        texts << s.text;
    return texts;
}

// A column of a tab's rows, in the order the grid shows them.
QStringList column(DataControl *dc, const QString &field)
{
    QStringList values;
    for (int row = 0; row < dc->recordCount(); ++row)
        values << dc->value(row, field).toString();
    return values;
}

// Acts on the next modal window once it is up, then closes whatever is left
// modal above `keep`, so that a failing test never waits.
void onModal(std::function<void(QWidget *)> act, QWidget *keep = nullptr)
{
    QTimer::singleShot(0, [act, keep] {
        QWidget *w = QApplication::activeModalWidget();
        if (w && w != keep)
            act(w);
        if (QWidget *left = QApplication::activeModalWidget(); left && left != keep)
            left->close();
    });
}

void chooseGrid(frm_pet_detail *w, int tab, int row)
{
    DataGrid *grid = w->DBGridPet[size_t(tab)];
    grid->setCurrentIndex(grid->model()->index(row, 3));
}

} // namespace

class TestPetDetail : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensFromTheHandler();
    void closeGuard_data();
    void closeGuard();
    void saveAndClose();
    void undoPutsBackTheStoredValues();
    void deleteFromTheWindow();
    void listBarMarksThePetShown();
    void notesAreStoredAsRtfWithPlainCopies();
    void importDefaults_data();
    void importDefaults();
    void textLengths();

    void pictureFaultAffectsOnlyThePicture_data();
    void pictureFaultAffectsOnlyThePicture();
    void pictureMenuAndPhotoSites_data();
    void pictureMenuAndPhotoSites();
    void phoneLabels_data();
    void phoneLabels();
    void addPersonFromTheWindow();
    void unknownPersonIsToldAndKept_data();
    void unknownPersonIsToldAndKept();
    void tabsKeysAndHelp();
    void escapeWritesNothing();
    void birthdayChooser();

    void rowOrders();
    void vaccinationRows();
    void rowButtons();
    void choosingARowDropsAHalfTypedOne();
    void lookupsFollowTheButtons();
    void pickListsOfTabsNotShownYet();
    void diaryDateChooserWritesTheSavedDate();
    void halfTypedRowsAtClose();

private:
    std::unique_ptr<ProgramFolder> m_pf;
    QStringList m_calls;
};

void TestPetDetail::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QFile::copy(qEnvironmentVariable("ZORBI_SOURCE_DIR") + QStringLiteral("/data/Default.gif"),
                m_pf->file(QStringLiteral("Default.gif")));
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB && gSystemDB);
    zbclock::setNow(QDateTime(QDate(2024, 6, 15), QTime(10, 0)));
    m_calls.clear();
    auto &r = subjectRoutines();
    r.calendarHandler = [this](QWidget *, int a, const QVariant &) {
        m_calls << QStringLiteral("calendar(%1)").arg(a);
        return true;
    };
    r.reportHandler = [this](QWidget *, int a, long id, long rec, bool) {
        m_calls << QStringLiteral("report(%1,%2,%3)").arg(a).arg(id).arg(rec);
        return false;
    };
    m_pf->dialogs().clear();
}

void TestPetDetail::cleanup()
{
    resetSubjectRoutines();
    m_pf.reset();
}

// ---------------------------------------------------------------- the pet

void TestPetDetail::opensFromTheHandler()
{
    const long rex = addRex();
    bool seen = false;
    onModal([&seen](QWidget *w) {
        auto *pet = qobject_cast<frm_pet_detail *>(w);
        QVERIFY(pet);
        seen = true;
        QCOMPARE(pet->windowTitle(), QString("Pet Details - Rex"));
        QCOMPARE(pet->tbsPet->SelectedIndex(), 3);
        QCOMPARE(pet->HelpContextID, 2504);
        QCOMPARE(pet->DataDetail->editMode(), int(DataControl::EditInProgress));
    });
    QVERIFY(funPetHandler(gMain, ActionEdit, rex, QString(), 3));
    QVERIFY(seen);
}

void TestPetDetail::closeGuard_data()
{
    QTest::addColumn<QString>("name"); // "-": left as it is
    QTest::addColumn<QString>("birthday");
    QTest::addColumn<QVariantList>("answers");
    QTest::addColumn<int>("closes");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedBirthday");

    QTest::newRow("no change") << "-"
                               << "-" << QVariantList{} << 1 << QStringList{} << false << "Rex"
                               << "2019-04-03";
    QTest::newRow("valid change saves without asking")
        << "Max"
        << "5/6/2018" << QVariantList{} << 1 << QStringList{} << false << "Max"
        << "2018-05-06";
    QTest::newRow("empty birthday is valid") << "-"
                                             << "" << QVariantList{} << 1 << QStringList{} << false << "Rex"
                                             << "";
    QTest::newRow("invalid birthday keeps it open")
        << "Max"
        << "31/02/2020" << QVariantList{} << 1 << QStringList{kBadBirthday} << true << "Rex"
        << "2019-04-03";
    QTest::newRow("then No closes without writing")
        << "Max"
        << "abc" << QVariantList{ui::OK, ui::No} << 2 << QStringList{kBadBirthday, "Save Changes?"} << false << "Rex"
        << "2019-04-03";
    QTest::newRow("then Yes checks again") << "Max"
                                           << "abc" << QVariantList{ui::OK, ui::Yes} << 2
                                           << QStringList{kBadBirthday, "Save Changes?", kBadBirthday} << true << "Rex"
                                           << "2019-04-03";
    QTest::newRow("empty name") << ""
                                << "-" << QVariantList{} << 1 << QStringList{"Please enter this pet's name"} << true
                                << "Rex"
                                << "2019-04-03";
}

void TestPetDetail::closeGuard()
{
    QFETCH(QString, name);
    QFETCH(QString, birthday);
    QFETCH(QVariantList, answers);
    QFETCH(int, closes);
    QFETCH(QStringList, shown);
    QFETCH(bool, stillOpen);
    QFETCH(QString, storedName);
    QFETCH(QString, storedBirthday);

    const long rex = addRex();
    Window w = open(rex);
    QVERIFY(w);
    QCOMPARE(w->txtPet[3]->text(), QString("4/3/2019"));
    if (name != "-")
        w->txtPet[0]->setText(name);
    if (birthday != "-")
        w->txtPet[3]->setText(birthday);
    for (const QVariant &a : answers)
        m_pf->dialogs().queue(a);
    for (int i = 0; i < closes; ++i)
        w->close();
    QCOMPARE(messages(*m_pf), shown);
    QCOMPARE(w->isVisible(), stillOpen);
    QCOMPARE(value("SELECT pet_name FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(), storedName);
    QCOMPARE(value("SELECT pet_dob FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(), storedBirthday);
    if (!shown.isEmpty() && shown.first() == kBadBirthday)
        QCOMPARE(m_pf->dialogs().shown().front().title, QString("Pet Birthday"));
}

void TestPetDetail::saveAndClose()
{
    const long rex = addRex();
    Window w = open(rex);
    // Invalid: the message once, and the window stays; the next close asks.
    w->txtPet[3]->setText("abc");
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    QCOMPARE(messages(*m_pf), QStringList{kBadBirthday});
    QVERIFY(w->isVisible());
    m_pf->dialogs().clear();
    m_pf->dialogs().queue(ui::No);
    w->close();
    QCOMPARE(messages(*m_pf), QStringList{"Save Changes?"});
    QVERIFY(!w->isVisible());

    // Valid: written, the id left behind, the caption the saved name.
    m_pf->dialogs().clear();
    w = open(rex);
    w->txtPet[0]->setText("Rex the Second");
    w->txtPet[10]->setText("Lady");
    w->ctToolBar_Menubar->clickItem(w->menuItems.saveClose);
    QVERIFY(messages(*m_pf).isEmpty());
    QVERIFY(!w->isVisible());
    QCOMPARE(w->savedRecordID(), rex);
    QCOMPARE(w->windowTitle(), QString("Rex the Second"));
    QCOMPARE(value("SELECT pet_mother FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(), QString("Lady"));
}

void TestPetDetail::undoPutsBackTheStoredValues()
{
    const long rex = addRex();
    Window w = open(rex);
    w->txtPet[0]->setText("Changed");
    w->rtbpet[2]->setPlainText("typed");
    w->ctToolBar_Menubar->clickItem(w->menuItems.undo);
    QCOMPARE(w->txtPet[0]->text(), QString("Rex"));
    QVERIFY(w->rtbpet[2]->text().isEmpty());
    QVERIFY(!w->DataDetail->dataChanged());
    w->close();
    QVERIFY(messages(*m_pf).isEmpty());
}

void TestPetDetail::deleteFromTheWindow()
{
    const long rex = addRex();
    insert("INSERT INTO tbl_diary (diary_pet_id, diary_date, diary_text) VALUES (?, '2024-01-01', 'walk')",
           {qlonglong(rex)});
    subRefreshListBar();
    Window w = open(rex, 4);
    // "No" keeps everything.
    m_pf->dialogs().queue(ui::No);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.del);
    QVERIFY(w->isVisible());
    QCOMPARE(value("SELECT count(*) FROM tbl_pet").toInt(), 1);

    // Pending edits, one of them invalid, and a half-typed diary entry: after
    // "Yes" the window closes without a check or a write.
    m_pf->dialogs().clear();
    w->txtPet[3]->setText("abc");
    w->txtPet[0]->setText("Max");
    w->txtdiary[1]->setProperty("plainText", "half typed");
    w->setSavedRecordID(rex);
    m_pf->dialogs().queue(ui::Yes);
    w->ctToolBar_Menubar->clickItem(w->menuItems.del);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete \"Rex\" and his/her pictures?"});
    QVERIFY(!w->isVisible());
    QCOMPARE(w->savedRecordID(), 0L);
    QCOMPARE(value("SELECT count(*) FROM tbl_pet").toInt(), 0);
    QCOMPARE(value("SELECT count(*) FROM tbl_diary").toInt(), 0);
    QVERIFY(m_calls.contains("calendar(5)"));
}

// The list bar marks the pet whose panel is up, also after a pet sorted
// before it was added; deleted from its window, a pet gives way to the
// calendar, which the bar then marks.
void TestPetDetail::listBarMarksThePetShown()
{
    resetSubjectRoutines(); // the real calendar
    CtListBar *bar = gMain->ctListBar_main;
    auto marked = [bar] { return bar->itemText(1, bar->currentItem()); };
    insert("INSERT INTO tbl_pet (pet_name, pet_species_id) VALUES ('Alf', 1)", {});
    const long cleo = insert("INSERT INTO tbl_pet (pet_name, pet_species_id) VALUES ('Cleo', 1)", {});
    subRefreshListBar();
    gMain->ctListBar_main_ItemClick(1, 2);
    QCOMPARE(gMain->ListView_Pet->Tag().toLongLong(), qlonglong(cleo));
    QCOMPARE(marked(), QString("Cleo"));
    insert("INSERT INTO tbl_pet (pet_name, pet_species_id) VALUES ('Bea', 1)", {});
    subRefreshListBar();
    QCOMPARE(bar->itemText(1, 2), QString("Bea"));
    QCOMPARE(marked(), QString("Cleo"));

    // "Edit Details" of Cleo's panel, and Delete in her window.
    gMain->ListView_Pet->selectKey("edit");
    onModal([this](QWidget *w) {
        auto *pet = qobject_cast<frm_pet_detail *>(w);
        QVERIFY(pet);
        m_pf->dialogs().queue(ui::Yes);
        pet->ctToolbar_Toolbar->clickItem(pet->toolItems.del);
    });
    gMain->ListView_Pet_DblClick();
    QCOMPARE(value("SELECT count(*) FROM tbl_pet WHERE pet_id = ?", {qlonglong(cleo)}).toInt(), 0);
    QCOMPARE(gMain->shownView(), 6);
    QCOMPARE(marked(), QString("Calendar"));
    QVERIFY(gMain->lblMain[FrameCalendar]->text().startsWith(" Calendar - "));
    // The fixed entries are marked by the view they show.
    gMain->ctListBar_main_ItemClick(1, 1);
    QCOMPARE(marked(), QString("Alf"));
}

void TestPetDetail::notesAreStoredAsRtfWithPlainCopies()
{
    const long rex = addRex();
    Window w = open(rex, 2);
    VbRichTextBox *feeding = w->rtbpet[0];
    feeding->setFocus();
    QTest::keyClicks(feeding, "Twice a day ");
    w->subSetLocalMenus();
    QCOMPARE(gActiveControl.data(), static_cast<QWidget *>(feeding));
    QVERIFY(w->ctToolbar_Toolbar->itemEnabled(w->toolItems.bold));
    w->ctToolbar_Toolbar->clickItem(w->toolItems.bold); // bold from here on
    QTest::keyClicks(feeding, "dry food");
    // Italic over the first word.
    QTextCursor c(feeding->document());
    c.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    feeding->setTextCursor(c);
    w->ctToolBar_Menubar->clickItem(w->menuItems.italic);
    w->rtbpet[3]->setPlainText(QStringLiteral("Policy 123 \u00e9 {braces}"));
    // A field that is no rich text turns the format items off.
    w->txtPet[1]->setFocus();
    w->subSetLocalMenus();
    QVERIFY(!w->ctToolbar_Toolbar->itemEnabled(w->toolItems.bold));
    QVERIFY(!w->ctToolBar_Menubar->itemEnabled(w->menuItems.bold));
    QVERIFY(w->ctToolBar_Menubar->itemEnabled(w->menuItems.cut));
    w->close();
    QVERIFY(!w->isVisible());

    const QString rtfText = value("SELECT pet_feeding_rtf FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString();
    QVERIFY(rtf::isRtf(rtfText));
    QCOMPARE(value("SELECT pet_feeding FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(),
             QString("Twice a day dry food"));
    QCOMPARE(value("SELECT pet_insurance_details FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(),
             QStringLiteral("Policy 123 \u00e9 {braces}"));

    // Opened again, the note reads as it was formatted.
    w = open(rex, 2);
    QTextDocument *doc = w->rtbpet[0]->document();
    QCOMPARE(w->rtbpet[0]->text(), QString("Twice a day dry food"));
    QTextCursor at(doc);
    at.setPosition(2);
    QVERIFY(at.charFormat().fontItalic());
    QVERIFY(at.charFormat().fontWeight() < QFont::DemiBold);
    at.setPosition(15);
    QVERIFY(at.charFormat().fontWeight() >= QFont::DemiBold);
    QVERIFY(!at.charFormat().fontItalic());
    QCOMPARE(w->rtbpet[3]->text(), QStringLiteral("Policy 123 \u00e9 {braces}"));
    w->close();
    QVERIFY(messages(*m_pf).isEmpty());
}

void TestPetDetail::importDefaults_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("feeding, empty box") << 4 << "" << QVariant() << false << true;
    QTest::newRow("feeding, Yes") << 4 << "mine" << QVariant(ui::Yes) << true << true;
    QTest::newRow("feeding, No") << 4 << "mine" << QVariant(ui::No) << true << false;
    QTest::newRow("care, Cancel") << 5 << "mine" << QVariant(ui::Cancel) << true << false;
    QTest::newRow("care, Yes") << 5 << "mine" << QVariant(ui::Yes) << true << true;
}

void TestPetDetail::importDefaults()
{
    QFETCH(int, button);
    QFETCH(QString, before);
    QFETCH(QVariant, answer);
    QFETCH(bool, asked);
    QFETCH(bool, replaced);
    const long rex = addRex();
    Window w = open(rex, 2);
    const int box = button - 4;
    w->rtbpet[size_t(box)]->setPlainText(before);
    if (answer.isValid())
        m_pf->dialogs().queue(answer);
    w->cmdPet[size_t(button)]->click();

    const QString defaultPlain = pet_handler::funPetGetDefault(button == 4 ? 3 : 4);
    QVERIFY(!defaultPlain.isEmpty());
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(asked ? 1 : 0));
    if (asked) {
        const Shown &s = m_pf->dialogs().shown().front();
        QCOMPARE(s.text, button == 4 ? QString("Overwrite existing feeding instructions?")
                                     : QString("Overwrite existing care instructions?"));
        QCOMPARE(s.title, QString("Confirm overwrite"));
        QCOMPARE(s.buttons, int(ui::YesNoCancel));
        QCOMPARE(s.icon, int(ui::Question));
        QCOMPARE(s.defaultButton, 3);
    }
    const QString expected = replaced ? defaultPlain : before;
    QCOMPARE(w->rtbpet[size_t(box)]->text().simplified(), expected.simplified());
    // The hidden plain copy follows the note.
    QCOMPARE(w->txtPetPlain[size_t(5 + box)]->toPlainText(), w->rtbpet[size_t(box)]->text());
}

void TestPetDetail::textLengths()
{
    const long rex = addRex();
    Window w = open(rex);
    QCOMPARE(w->txtPet[0]->maxLength(), 50);
    QCOMPARE(w->txtPet[4]->maxLength(), 10);
    QCOMPARE(w->txtPet[9]->maxLength(), 10);
    QCOMPARE(w->txtPet[11]->maxLength(), 50);
    QCOMPARE(w->DBCombovaccine_0->lineEdit()->maxLength(), 50);
    QCOMPARE(static_cast<QLineEdit *>(w->txtcommand[0])->maxLength(), 25);
    QCOMPARE(w->txtproperty[0]->maxLength(), 25);
    QCOMPARE(w->txtproperty[1]->maxLength(), 100);
    w->txtPet[0]->setText(QString(80, 'x'));
    QCOMPARE(w->txtPet[0]->text().size(), 50);
    w->close();
    QCOMPARE(value("SELECT length(pet_name) FROM tbl_pet").toInt(), 50);
}

// ---------------------------------------------------------------- picture, contacts, tabs

void TestPetDetail::pictureFaultAffectsOnlyThePicture_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QTest::newRow("file removed") << QByteArray()
                                  << "The picture file for this pet was not found. Please import a new picture.";
    QTest::newRow("not a picture") << QByteArray("this is no picture")
                                   << "You have selected an unsupported picture format. Please import a different "
                                      "picture.";
}

void TestPetDetail::pictureFaultAffectsOnlyThePicture()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    if (!contents.isEmpty()) {
        QFile f(gPicturePath + "ZB_00042.jpg");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    const long rex = addRex(QStringLiteral("ZB_00042.jpg"));
    const long vet = addContact("Dr Smith", "555-0101", "Work");
    gDataDB->execute("UPDATE tbl_pet SET pet_vet_id = ?", {qlonglong(vet)});
    addVaccine(rex, "Rabies", "2025-01-01");
    Window w = open(rex, 3);
    QVERIFY(w);
    QCOMPARE(messages(*m_pf), QStringList{message});
    const Shown &s = m_pf->dialogs().shown().front();
    QCOMPARE(s.title, QString("Picture error"));
    QCOMPARE(s.icon, int(ui::Exclamation));
    // Asked while the pet window is still being made, it opens over the main window.
    QCOMPARE(s.over.data(), static_cast<QWidget *>(gMain));
    // The rest of the load ran: the tab, the phone line, the species icon, and
    // the vaccinations on a new row.
    QCOMPARE(w->tbsPet->SelectedIndex(), 3);
    QCOMPARE(w->lblPhone[2]->text(), QString("Work: 555-0101"));
    QVERIFY(!w->ImageMain->pixmap().isNull());
    QVERIFY(!w->ImagePicture->isHidden());
    QVERIFY(w->ImagePicture->hasPicture()); // the stand-in picture
    QCOMPARE(w->lblPicture->text(), QString("ZB_00042.jpg"));
    for (int tab = 3; tab <= 6; ++tab)
        QCOMPARE(w->recordsOf(tab)->editMode(), int(DataControl::EditAdd));
    // So what is typed is a new vaccination, never the old one.
    w->DBCombovaccine_0->setText("Distemper");
    w->cmdVaccination[0]->click();
    QCOMPARE(column(w->Datatbl_vaccine, "vaccine_name"), (QStringList{"Distemper", "Rabies"}));
    w->close();
    QCOMPARE(value("SELECT pet_picture FROM tbl_pet").toString(), QString("ZB_00042.jpg"));
}

void TestPetDetail::pictureMenuAndPhotoSites_data()
{
    QTest::addColumn<QString>("site1");
    QTest::addColumn<QString>("site2");
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("site 1") << "photos.example.org"
                            << "";
    QTest::newRow("site 2") << ""
                            << "https://album.example.net";
    QTest::newRow("both") << "a.example.org"
                          << "b.example.org";
}

void TestPetDetail::pictureMenuAndPhotoSites()
{
    QFETCH(QString, site1);
    QFETCH(QString, site2);
    funPref_Set("PhotoSite_1", site1);
    funPref_Set("PhotoSite_2", site2);
    Window w = open(addRex());
    CtToolBar *menu = w->ctToolBar_Menubar;
    QCOMPARE(menu->itemCount(), 32);
    QCOMPARE(menu->itemText(w->menuItems.importPicture), QString("&Import picture"));
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[0].separator), !site1.isEmpty());
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[0].entry), !site1.isEmpty());
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[1].separator), !site2.isEmpty());
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[1].entry), !site2.isEmpty());
    if (!site1.isEmpty())
        QCOMPARE(menu->itemStoredText(w->menuItems.photoSites[0].entry), "http://" + site1);
    if (!site2.isEmpty())
        QCOMPARE(menu->itemStoredText(w->menuItems.photoSites[1].entry),
                 site2.startsWith("https:") ? site2 : "http://" + site2);

    // A right click on the picture pops up the shared picture menu for this
    // window; its "Clear picture" acts here.
    QTimer::singleShot(0, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseClick(w->ImagePicture, Qt::RightButton);
    CtDropMenu *pictureMenu = gControls->ctDropMenuContext->menu(3);
    QCOMPARE(pictureMenu->owner(), static_cast<QWidget *>(w.get()));
    w->lblPicture->setText("ZB_00009.jpg");
    pictureMenu->triggerEntry(2, w.get());
    QCOMPARE(w->lblPicture->text(), QString());

    // The picture items act on this window's picture: importing a sample.
    const QString sample = qEnvironmentVariable("ZORBI_SOURCE_DIR") + "/data/samples/Cat.gif";
    m_pf->dialogs().queue(sample);
    menu->clickItem(w->menuItems.importPicture);
    QCOMPARE(w->lblPicture->text(), QString("ZB_00001.gif"));
    QCOMPARE(w->ImagePicture->Left() + w->ImagePicture->Width() / 2, 5100 + 2880 / 2);
    QVERIFY(w->ImagePicture->Width() <= 2880 && w->ImagePicture->Height() <= 2880);
    w->close();
    QCOMPARE(value("SELECT pet_picture FROM tbl_pet").toString(), QString("ZB_00001.gif"));
}

void TestPetDetail::phoneLabels_data()
{
    QTest::addColumn<QVariant>("phone");
    QTest::addColumn<QVariant>("type");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("type and number") << QVariant("555-0101") << QVariant("Home") << false << "Home: 555-0101";
    QTest::newRow("no phone") << QVariant() << QVariant("Home") << false << "";
    QTest::newRow("empty phone") << QVariant("") << QVariant("Home") << false << "";
    QTest::newRow("person deleted meanwhile") << QVariant("555-0101") << QVariant("Home") << true << "";
}

void TestPetDetail::phoneLabels()
{
    QFETCH(QVariant, phone);
    QFETCH(QVariant, type);
    QFETCH(bool, deleted);
    QFETCH(QString, shown);
    const long person = addContact("Sam Sitter", phone, type);
    const long rex = addRex();
    gDataDB->execute("UPDATE tbl_pet SET pet_sitter_id = ?, pet_emergency_contact_id = ?",
                     {qlonglong(person), qlonglong(person)});
    if (deleted)
        gDataDB->execute("DELETE FROM tbl_contact");
    Window w = open(rex, 2);
    QCOMPARE(w->lblPhone[0]->text(), shown);
    QCOMPARE(w->lblPhone[1]->text(), shown);
    QCOMPARE(w->lblPhone[2]->text(), QString());
    // No person chosen: no phone line.
    w->DBCbopet[0]->setBoundText(QVariant());
    QCOMPARE(w->lblPhone[0]->text(), QString());
    w->close();
}

void TestPetDetail::addPersonFromTheWindow()
{
    const long rex = addRex();
    const long old = addContact("Old Vet", "555-0000", "Work");
    gDataDB->execute("UPDATE tbl_pet SET pet_vet_id = ?", {qlonglong(old)});
    bool addSomeone = true;
    subjectRoutines().contactAddNew = [&addSomeone](QWidget *) {
        return addSomeone ? addContact("New Vet", "555", "Home") : 0L;
    };
    Window w = open(rex);
    // Cancelled: the combo stays as it was.
    addSomeone = false;
    w->cmdPet[2]->click();
    QCOMPARE(w->DBCbopet[2]->BoundText().toLongLong(), qlonglong(old));
    QCOMPARE(w->lblPhone[2]->text(), QString("Work: 555-0000"));
    // Saved: the combo shows the new person and the phone line follows.
    addSomeone = true;
    w->cmdPet[2]->click();
    QCOMPARE(w->DBCbopet[2]->Text(), QString("New Vet"));
    QCOMPARE(w->lblPhone[2]->text(), QString("Home: 555"));
    // The vaccination's "Done by:" too.
    w->cmdPet[3]->click();
    QCOMPARE(w->DBCbovaccine_0->Text(), QString("New Vet"));
    w->close();
    QCOMPARE(value("SELECT c.contact_name FROM tbl_pet p JOIN tbl_contact c ON c.contact_id = p.pet_vet_id").toString(),
             QString("New Vet"));
}

void TestPetDetail::unknownPersonIsToldAndKept_data()
{
    QTest::addColumn<int>("box"); // DBCbopet(0..2), or 3 for the vaccination's "Done by"
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("title");
    QTest::newRow("veterinarian") << 2 << 1 << "Veterinarian";
    QTest::newRow("sitter") << 0 << 2 << "Sitter";
    QTest::newRow("emergency") << 1 << 2 << "Emergency Contact";
    QTest::newRow("done by") << 3 << 3 << "Done by";
}

// A typed name that is no one in the address book is neither dropped nor
// stored as no one: the user is told, the text stays, nothing is written.
void TestPetDetail::unknownPersonIsToldAndKept()
{
    QFETCH(int, box);
    QFETCH(int, tab);
    QFETCH(QString, title);
    const long rex = addRex();
    const long old = addContact("Old Vet");
    gDataDB->execute("UPDATE tbl_pet SET pet_vet_id = ?, pet_sitter_id = ?, pet_emergency_contact_id = ?",
                     {qlonglong(old), qlonglong(old), qlonglong(old)});
    const char *const fields[3] = {"pet_sitter_id", "pet_emergency_contact_id", "pet_vet_id"};
    auto stored = [&] {
        return box < 3 ? value(QStringLiteral("SELECT %1 FROM tbl_pet").arg(QLatin1String(fields[box])))
                       : value("SELECT vaccine_vet_id FROM tbl_vaccine");
    };
    Window w = open(rex, box == 1 || box == 2 ? 1 : tab);
    DbCombo *combo = box < 3 ? w->DBCbopet[size_t(box)] : w->DBCombovaccine_0;
    if (box == 3) {
        w->DBCombovaccine_0->setText("Rabies");
        combo = w->DBCbovaccine_0;
    }
    auto type = [combo](const QString &text) {
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), text);
    };
    auto write = [&] {
        if (box == 3)
            w->cmdVaccination[0]->click();
        else
            w->close();
    };
    type("Dr Nobody");
    QVERIFY(combo->BoundText().isNull());
    // The list read again (a person added for another box) keeps the text.
    w->dataContacts->refresh();
    QCOMPARE(combo->Text(), QString("Dr Nobody"));
    write();
    QCOMPARE(messages(*m_pf),
             QStringList{"There is no one named \"Dr Nobody\" in the address book. Please select a name from the "
                         "list, or click the button to the right of the box to add a new person."});
    QCOMPARE(m_pf->dialogs().shown().front().title, title);
    QCOMPARE(m_pf->dialogs().shown().front().over.data(), static_cast<QWidget *>(w.get())); // over the pet window
    QVERIFY(w->isVisible());
    QCOMPARE(w->tbsPet->SelectedIndex(), tab);
    QCOMPARE(combo->Text(), QString("Dr Nobody"));
    QCOMPARE(stored(), box < 3 ? QVariant(qlonglong(old)) : QVariant());
    if (box == 3)
        QCOMPARE(value("SELECT count(*) FROM tbl_vaccine").toInt(), 0);

    // A name of the list, typed in any case, is that person.
    m_pf->dialogs().clear();
    type("old vet");
    QCOMPARE(combo->BoundText().toLongLong(), qlonglong(old));
    if (box < 3)
        m_pf->dialogs().queue(ui::Yes); // the pet's second close asks first
    write();
    if (box == 3)
        w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(stored().toLongLong(), qlonglong(old));
}

void TestPetDetail::tabsKeysAndHelp()
{
    Window w = open(addRex(), 6);
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(w->tbsPet->SelectedIndex(), 6);
    QCOMPARE(w->HelpContextID, 2507);
    QTest::keyClick(w->txtproperty[0], Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w->tbsPet->SelectedIndex(), 1);
    QCOMPARE(w->HelpContextID, 2502);
    // Tab alone goes down the fields as they stand; the pet's own boxes, too,
    // are the field the edit commands act on.
    w->txtPet[1]->setFocus();
    QCOMPARE(gActiveControl.data(), static_cast<QWidget *>(w->txtPet[1]));
    QTest::keyClick(w->txtPet[1], Qt::Key_Tab);
    QCOMPARE(funControlOf(QApplication::focusWidget()), static_cast<QWidget *>(w->DBCbopet[3]));
    QTest::keyClick(w->txtPet[1], Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w->tbsPet->SelectedIndex(), 2);
    QCOMPARE(funControlOf(QApplication::focusWidget()), static_cast<QWidget *>(w->DBCbopet[0]));
    QTest::keyClick(w->DBCbopet[0], Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w->tbsPet->SelectedIndex(), 4);
    QVERIFY(w->DTPickerPet[2]->isAncestorOf(QApplication::focusWidget()));
    w->close();
}

// The window has no Esc: it stays, writes nothing, and a suggestion shown
// in a box is taken back to what was typed.
void TestPetDetail::escapeWritesNothing()
{
    const long rex = addRex();
    gDataDB->execute(QStringLiteral("UPDATE tbl_pet SET pet_breed = 'Labrador Retriever' WHERE pet_id = ?"),
                     {qlonglong(rex)});
    Window w = open(rex);
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    DbCombo *breed = w->DBCbopet[3];
    QCOMPARE(breed->Text(), QString("Labrador Retriever"));
    breed->setFocus();
    breed->lineEdit()->selectAll();
    QTest::keyClick(breed, Qt::Key_G);
    QCOMPARE(breed->Text(), QString("German Shepherd"));
    QCOMPARE(breed->lineEdit()->selectedText(), QString("erman Shepherd"));
    QTest::keyClick(breed, Qt::Key_Escape);
    QVERIFY(w->isVisible());
    QCOMPARE(breed->Text(), QString("g"));
    // Esc again, and Esc in a plain box: still open, still nothing written.
    w->txtPet[0]->setText("Changed");
    QTest::keyClick(breed, Qt::Key_Escape);
    QTest::keyClick(w->txtPet[0], Qt::Key_Escape);
    QVERIFY(w->isVisible());
    QVERIFY(messages(*m_pf).isEmpty());
    QCOMPARE(value("SELECT pet_breed FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(),
             QString("Labrador Retriever"));
    QCOMPARE(value("SELECT pet_name FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(), QString("Rex"));
    w.reset();
    QCOMPARE(value("SELECT pet_breed FROM tbl_pet WHERE pet_id = ?", {qlonglong(rex)}).toString(),
             QString("Labrador Retriever"));
}

void TestPetDetail::birthdayChooser()
{
    const long rex = addRex();
    Window w = open(rex);
    // Cancelled (Down arrow opens it): the birthday stays.
    onModal(
        [](QWidget *chooser) {
            QCOMPARE(chooser->windowTitle(), QString("Select pet birthday"));
            QCOMPARE(child<QCalendarWidget>(chooser, "MonthView1")->selectedDate(), QDate(2019, 4, 3));
            child<QPushButton>(chooser, "cmdCancel")->click();
        },
        w.get());
    QTest::keyClick(w->txtPet[3], Qt::Key_Down);
    QCOMPARE(w->txtPet[3]->text(), QString("4/3/2019"));
    // Chosen through the button: the box and, on closing, the file.
    onModal([](QWidget *chooser) { static_cast<frm_date *>(chooser)->MonthView1_DateClick(QDate(2018, 12, 24)); },
            w.get());
    w->cmdPet_dob->click();
    QCOMPARE(w->txtPet[3]->text(), QString("12/24/2018"));
    w->close();
    QCOMPARE(value("SELECT pet_dob FROM tbl_pet").toString(), QString("2018-12-24"));
}

// ---------------------------------------------------------------- the pet's rows

void TestPetDetail::rowOrders()
{
    const long rex = addRex();
    const long other = addRex();
    addVaccine(rex, "rabies", "2025-01-01");
    addVaccine(rex, "Bordetella", "2026-05-01");
    addVaccine(rex, "Adenovirus", "2025-01-01");
    addVaccine(other, "Other's", "2030-01-01");
    for (const char *d : {"2024-01-01", "2024-03-01", "2024-01-01", "2023-12-31"})
        insert("INSERT INTO tbl_diary (diary_pet_id, diary_date, diary_text) VALUES (?, ?, ?)",
               {qlonglong(rex), d, QString::fromLatin1(d)});
    for (const char *c : {"sit", "Down", "roll over"})
        insert("INSERT INTO tbl_command (command_pet_id, command_name) VALUES (?, ?)", {qlonglong(rex), c});
    for (const char *p : {"Collar", "Bed", "Ball"})
        insert("INSERT INTO tbl_property (property_pet_id, property_name) VALUES (?, ?)", {qlonglong(rex), p});

    Window w = open(rex, 3);
    // Latest expiry first, then by name.
    QCOMPARE(column(w->Datatbl_vaccine, "vaccine_name"), (QStringList{"Bordetella", "Adenovirus", "rabies"}));
    // Newest date first, a tie by the newest entry.
    QCOMPARE(column(w->Datatbl_diary, "diary_id"), (QStringList{"2", "3", "1", "4"}));
    QCOMPARE(column(w->Datatbl_command, "command_name"), (QStringList{"Down", "roll over", "sit"}));
    QCOMPARE(column(w->Datatbl_property, "property_name"), (QStringList{"Collar", "Bed", "Ball"}));
    // The grids show the captioned columns only.
    QStringList captions;
    DataGrid *grid = w->DBGridPet[3];
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            captions << grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"Vaccine / Med", "Received", "Expires", "Veterinarian", "Notes"}));
    w->close();
}

void TestPetDetail::vaccinationRows()
{
    const long rex = addRex();
    const long done = addVaccine(rex, "Rabies", "2025-01-01", QStringLiteral("2024-05-01 09:00:00"));
    Window w = open(rex, 3);
    // A new vaccination starts today and expires in a year.
    QCOMPARE(w->DTPickerPet[0]->Value().toDate(), QDate(2024, 6, 15));
    QCOMPARE(w->DTPickerPet[1]->Value().toDate(), QDate(2025, 6, 15));
    w->DBCombovaccine_0->setText("Distemper");
    w->cmdVaccination[0]->click();
    auto rs = gDataDB->openRecordset(
        "SELECT vaccine_pet_id, vaccine_acknowledged_date, vaccine_received_date, vaccine_expiration_date "
        "FROM tbl_vaccine WHERE vaccine_name = 'Distemper'");
    QVERIFY(rs && !rs->isEOF());
    QCOMPARE(rs->field(0).toLongLong(), qlonglong(rex));
    QCOMPARE(rs->field(1).toString(), kNotAcknowledged);
    QCOMPARE(rs->field(2).toString(), QString("2024-06-15"));
    QCOMPARE(rs->field(3).toString(), QString("2025-06-15"));

    // An acknowledged one, edited and saved, is due again.
    const int row = column(w->Datatbl_vaccine, "vaccine_id").indexOf(QString::number(done));
    chooseGrid(w.get(), 3, row);
    QCOMPARE(w->cmdVaccination[0]->text(), QString("&Save"));
    QCOMPARE(w->DBCombovaccine_0->Text(), QString("Rabies"));
    w->txtvaccine->setPlainText("booster");
    w->cmdVaccination[0]->click();
    QCOMPARE(
        value("SELECT vaccine_acknowledged_date FROM tbl_vaccine WHERE vaccine_id = ?", {qlonglong(done)}).toString(),
        kNotAcknowledged);
    QCOMPARE(value("SELECT vaccine_notes FROM tbl_vaccine WHERE vaccine_id = ?", {qlonglong(done)}).toString(),
             QString("booster"));
    QCOMPARE(w->cmdVaccination[0]->text(), QString("&Add"));
    w->close();
}

void TestPetDetail::rowButtons()
{
    const long rex = addRex();
    insert("INSERT INTO tbl_command (command_pet_id, command_name, command_value) VALUES (?, 'Sit', 'sits')",
           {qlonglong(rex)});
    insert("INSERT INTO tbl_command (command_pet_id, command_name, command_value) VALUES (?, 'Stay', 'stays')",
           {qlonglong(rex)});
    Window w = open(rex, 5);
    auto *name = static_cast<QLineEdit *>(w->txtcommand[0]);
    DataControl *commands = w->Datatbl_command;
    QCOMPARE(w->cmdCommand[0]->text(), QString("&Add"));
    QVERIFY(!w->cmdCommand[2]->isEnabled());

    // Choosing a row: Save and Delete.
    chooseGrid(w.get(), 5, 1);
    QCOMPARE(name->text(), QString("Stay"));
    QCOMPARE(w->cmdCommand[0]->text(), QString("&Save"));
    QVERIFY(w->cmdCommand[2]->isEnabled());
    QCOMPARE(commands->editMode(), int(DataControl::EditInProgress));

    // Cancel puts the stored text back and starts a new row; nothing written.
    name->setText("Stay!!");
    w->cmdCommand[1]->click();
    QCOMPARE(commands->editMode(), int(DataControl::EditAdd));
    QVERIFY(name->text().isEmpty());
    QCOMPARE(w->cmdCommand[0]->text(), QString("&Add"));
    QVERIFY(!w->cmdCommand[2]->isEnabled());
    QCOMPARE(value("SELECT count(*) FROM tbl_command WHERE command_name = 'Stay'").toInt(), 1);

    // Delete removes the chosen row at once and leaves a new empty row.
    chooseGrid(w.get(), 5, 0);
    w->cmdCommand[2]->click();
    QCOMPARE(value("SELECT count(*) FROM tbl_command WHERE command_name = 'Sit'").toInt(), 0);
    QCOMPARE(column(commands, "command_name"), QStringList{"Stay"});
    QCOMPARE(commands->editMode(), int(DataControl::EditAdd));
    QVERIFY(!w->cmdCommand[2]->isEnabled());
    QCOMPARE(w->DBGridPet[5]->Row(), -1);

    // A new command gets the pet, and the list keeps its order.
    name->setText("Heel");
    w->cmdCommand[0]->click();
    QCOMPARE(value("SELECT command_pet_id FROM tbl_command WHERE command_name = 'Heel'").toLongLong(), qlonglong(rex));
    QCOMPARE(column(commands, "command_name"), (QStringList{"Heel", "Stay"}));
    QVERIFY(name->text().isEmpty());
    // An untouched new row writes nothing.
    w->cmdCommand[0]->click();
    QCOMPARE(value("SELECT count(*) FROM tbl_command").toInt(), 2);
    w->close();
    QCOMPARE(value("SELECT count(*) FROM tbl_command").toInt(), 2);
}

void TestPetDetail::choosingARowDropsAHalfTypedOne()
{
    const long rex = addRex();
    insert("INSERT INTO tbl_property (property_pet_id, property_name) VALUES (?, 'Collar')", {qlonglong(rex)});
    Window w = open(rex, 6);
    w->txtproperty[0]->setText("Half typed");
    chooseGrid(w.get(), 6, 0);
    QCOMPARE(w->txtproperty[0]->text(), QString("Collar"));
    QCOMPARE(value("SELECT count(*) FROM tbl_property").toInt(), 1);
    w->close();
    QCOMPARE(value("SELECT count(*) FROM tbl_property").toInt(), 1);
}

// The vaccine names and diary categories of a tab not shown yet are there as
// soon as the tab shows, or as soon as its box is typed into.
void TestPetDetail::pickListsOfTabsNotShownYet()
{
    const long rex = addRex();
    addVaccine(rex, "Rabies", "2025-01-01");
    insert("INSERT INTO tbl_diary (diary_pet_id, diary_category) VALUES (?, 'Grooming')", {qlonglong(rex)});
    Window w = open(rex, 1);
    w->DBCombovaccine_0->lineEdit()->clear();
    QTest::keyClick(w->DBCombovaccine_0->lineEdit(), 'r');
    QCOMPARE(w->DBCombovaccine_0->Text(), QString("Rabies"));
    w->tbsPet->setSelectedIndex(4);
    QCOMPARE(w->DBCbopet[4]->count(), 1);
    QCOMPARE(w->DBCbopet[4]->itemText(0), QString("Grooming"));
    w->DataDetail->cancelUpdate();
    for (int tab = 3; tab <= 6; ++tab)
        w->recordsOf(tab)->cancelUpdate();
    w->close();
}

void TestPetDetail::lookupsFollowTheButtons()
{
    const long rex = addRex();
    addVaccine(rex, "Rabies", "2025-01-01");
    Window w = open(rex, 3);
    QCOMPARE(column(w->datavaccine_lookup, "vaccine_name"), QStringList{"Rabies"});
    w->DBCombovaccine_0->setText("Distemper");
    w->cmdVaccination[0]->click();
    // The same name in other letters is one entry.
    w->DBCombovaccine_0->setText("RABIES");
    w->cmdVaccination[0]->click();
    QCOMPARE(column(w->datavaccine_lookup, "vaccine_name").size(), 2);
    QCOMPARE(column(w->datavaccine_lookup, "vaccine_name").first(), QString("Distemper"));

    w->tbsPet->setSelectedIndex(4);
    w->DBCbopet[4]->setText("Grooming");
    w->txtdiary[1]->setProperty("plainText", "brushed");
    w->cmdDiary[0]->click();
    QCOMPARE(column(w->Datadiary_category_lookup, "diary_category"), QStringList{"Grooming"});
    // Typed again, the category completes from its list.
    w->DBCbopet[4]->setFocus();
    QTest::keyClick(w->DBCbopet[4]->lineEdit(), 'g');
    QCOMPARE(w->DBCbopet[4]->Text(), QString("Grooming"));
    QCOMPARE(w->DBCbopet[4]->lineEdit()->selectedText(), QString("rooming"));
    w->close();
}

void TestPetDetail::diaryDateChooserWritesTheSavedDate()
{
    const long rex = addRex();
    Window w = open(rex, 4);
    QCOMPARE(w->DTPickerPet[2]->Value().toDate(), QDate(2024, 6, 15));
    onModal(
        [](QWidget *chooser) {
            QCOMPARE(chooser->windowTitle(), QString("Select entry date"));
            static_cast<frm_date *>(chooser)->MonthView1_DateClick(QDate(2024, 2, 29));
        },
        w.get());
    w->cmdDiary_date->click();
    QCOMPARE(static_cast<QLineEdit *>(w->txtdiary[0])->text(), QString("2/29/2024"));
    QCOMPARE(w->DTPickerPet[2]->Value().toDate(), QDate(2024, 2, 29));
    w->txtdiary[1]->setProperty("plainText", "leap day walk");
    w->cmdDiary[0]->click();
    QCOMPARE(value("SELECT diary_date FROM tbl_diary").toString(), QString("2024-02-29"));
    // The next entry starts on today again.
    QCOMPARE(w->DTPickerPet[2]->Value().toDate(), QDate(2024, 6, 15));
    w->close();
}

void TestPetDetail::halfTypedRowsAtClose()
{
    const long rex = addRex();
    // Closed with the pet unchanged: the typed row goes with the window.
    Window w = open(rex, 5);
    static_cast<QLineEdit *>(w->txtcommand[0])->setText("Fetch");
    w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(value("SELECT command_pet_id FROM tbl_command WHERE command_name = 'Fetch'").toLongLong(), qlonglong(rex));

    // "No" at "Save Changes?" drops the typed row with the pet's changes.
    w = open(rex, 5);
    w->txtPet[3]->setText("abc");
    static_cast<QLineEdit *>(w->txtcommand[0])->setText("Beg");
    w->close();
    QVERIFY(w->isVisible());
    QCOMPARE(value("SELECT count(*) FROM tbl_command").toInt(), 1);
    m_pf->dialogs().queue(ui::No);
    w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(value("SELECT count(*) FROM tbl_command").toInt(), 1);
}

ZORBI_TEST_MAIN(TestPetDetail)
#include "tst_pet_detail.moc"
