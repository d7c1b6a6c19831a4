// Every date box that offers a calendar to choose from, in every window: a
// day chosen there reaches the file whole, in a language whose short date is
// longer than ten characters as well as in the usual one.

#include "core/codes.h"
#include "core/frm_date.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "events/event_handler.h"
#include "events/frm_event_detail.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "platform/dates.h"
#include "printouts/frm_trip.h"
#include "records/frm_pet_detail.h"
#include "records/frm_picture.h"
#include "records/pet_handler.h"
#include "records/picture_handler.h"
#include "data_rows.h"
#include "test_support.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using event_handler::funEventHandler;
using testsupport::ProgramFolder;
using testsupport::value;

namespace {

// A day of two digits late in the year: the longest short dates there are.
const QDate kChosen(2026, 12, 17);

// Chooses kChosen in the chooser window that `button` opens.
void chooseThrough(QPushButton *button)
{
    QPointer<QTimer> t =
        testsupport::onModal<frm_date>([](frm_date *chooser) { chooser->MonthView1_DateClick(kChosen); });
    button->click();
    delete t;
}

// Chooses kChosen in a picker's own calendar, opened as the user opens it.
void chooseIn(DatePicker *picker)
{
    if (picker->CheckBox() && picker->isNull())
        picker->checkBox()->click();
    QTest::keyClick(picker->editor(), Qt::Key_F4);
    QCalendarWidget *calendar = picker->calendarWidget();
    QVERIFY(calendar);
    emit calendar->clicked(kChosen);
}

long addPet()
{
    return testsupport::insert(QStringLiteral("INSERT INTO tbl_pet (pet_name, pet_species_id) VALUES ('Rex', 1)"));
}

} // namespace

class TestDateBoxes : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_pf = std::make_unique<ProgramFolder>();
        QCOMPARE(Main(), -1);
        QVERIFY(gMain && gDataDB);
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_pf.reset();
    }

    void chosenDateStoredWhole_data();
    void chosenDateStoredWhole();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestDateBoxes::chosenDateStoredWhole_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("box");
    // "17 Dec 2026", "17.12.2026 г." and "12/17/2026".
    for (const char *locale : {"C", "bg_BG", "en_US"})
        for (const char *box : {"pet birthday", "diary entry", "vaccination received", "vaccination expires", "picture",
                                "event date", "event until", "trip leaving", "trip returning"})
            QTest::addRow("%s, %s", box, locale) << QString::fromLatin1(locale) << QString::fromLatin1(box);
}

void TestDateBoxes::chosenDateStoredWhole()
{
    QFETCH(QString, locale);
    QFETCH(QString, box);
    QLocale::setDefault(QLocale(locale));
    const QString iso = QStringLiteral("2026-12-17");
    QString stored;
    if (box == QLatin1String("pet birthday") || box == QLatin1String("diary entry")
        || box.startsWith(QLatin1String("vaccination"))) {
        const long pet = addPet();
        const int tab = box == QLatin1String("pet birthday") ? 1 : box == QLatin1String("diary entry") ? 4 : 3;
        std::unique_ptr<frm_pet_detail> w(pet_handler::funPetEditWindow(gMain, pet, tab));
        QVERIFY(w);
        w->show();
        if (tab == 1) {
            chooseThrough(w->cmdPet_dob);
            QCOMPARE(w->txtPet[3]->text(), QLocale().toString(kChosen, vbShortDateFormat()));
            w->close();
            stored = value(QStringLiteral("SELECT pet_dob FROM tbl_pet")).toString();
        } else if (tab == 4) {
            chooseThrough(w->cmdDiary_date);
            w->txtdiary[1]->setProperty("plainText", QStringLiteral("walk"));
            w->cmdDiary[0]->click();
            stored = value(QStringLiteral("SELECT diary_date FROM tbl_diary")).toString();
            w->close();
        } else {
            const bool received = box.endsWith(QLatin1String("received"));
            w->DBCombovaccine_0->setText(QStringLiteral("Rabies"));
            chooseIn(w->DTPickerPet[received ? 0 : 1]);
            w->cmdVaccination[0]->click();
            stored = value(received ? QStringLiteral("SELECT vaccine_received_date FROM tbl_vaccine")
                                    : QStringLiteral("SELECT vaccine_expiration_date FROM tbl_vaccine"))
                         .toString();
            w->close();
        }
        QCOMPARE(stored, iso);
    } else if (box == QLatin1String("picture")) {
        std::unique_ptr<frm_picture> w = picture_handler::funPictureWindow(gMain, 0);
        QVERIFY(w);
        w->show();
        chooseThrough(w->cmdPicture);
        // The picture's date is kept as it is written, so in the user's form.
        const QString shown = QLocale().toString(kChosen, vbShortDateFormat());
        QCOMPARE(w->txtpicture[3]->text(), shown);
        w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
        QCOMPARE(value(QStringLiteral("SELECT picture_date FROM tbl_picture")).toString(), shown);
        // Opened again, the whole date shows and can be typed over with one as long.
        const long id = value(QStringLiteral("SELECT picture_id FROM tbl_picture")).toLongLong();
        w = picture_handler::funPictureWindow(gMain, id);
        w->show();
        QCOMPARE(w->txtpicture[3]->text(), shown);
        w->txtpicture[3]->clear();
        w->txtpicture[3]->insert(
            QLocale().toString(QDate(2026, 11, 28), vbShortDateFormat())); // as typed: held to the limit
        QCOMPARE(vbCDate(w->txtpicture[3]->text()), QDate(2026, 11, 28));
        w->close();
    } else if (box.startsWith(QLatin1String("event"))) {
        const bool until = box.endsWith(QLatin1String("until"));
        bool shown = false;
        QPointer<QTimer> t = testsupport::onModal<frm_event_detail>([&](frm_event_detail *w) {
            shown = true;
            w->findChild<QLineEdit *>(QStringLiteral("txtevent_name"))->setText(QStringLiteral("Vet"));
            if (until)
                w->findChild<QCheckBox *>(QStringLiteral("Check1(1)"))->click(); // repeating, until a day
            chooseIn(w->findChild<DatePicker *>(QStringLiteral("DTPickerEvent(%1)").arg(until ? 2 : 0)));
            w->findChild<CtToolBar *>(QStringLiteral("ctToolbar_Toolbar"))->clickItem(w->toolItems.saveClose);
            QVERIFY(!w->isVisible());
        });
        QVariant day = QDate(2026, 12, 1);
        QVERIFY(funEventHandler(gMain, ActionAdd, 0, day));
        delete t;
        QVERIFY(shown);
        QCOMPARE(value(until ? QStringLiteral("SELECT event_end_date FROM tbl_event")
                             : QStringLiteral("SELECT event_date FROM tbl_event"))
                     .toString(),
                 iso);
    } else {
        frm_trip w;
        w.show();
        static_cast<QLineEdit *>(w.txtTrip[1])->setText(QStringLiteral("Cabin"));
        const bool leaving = box.endsWith(QLatin1String("leaving"));
        chooseIn(leaving ? w.DTPicker1 : w.DTPicker2);
        QTest::mouseClick(w.cmdTrip[2], Qt::LeftButton);
        QCOMPARE(value(leaving ? QStringLiteral("SELECT trip_date_begin FROM tbl_trip")
                               : QStringLiteral("SELECT trip_date_end FROM tbl_trip"))
                     .toString(),
                 iso);
    }
}

ZORBI_TEST_MAIN(TestDateBoxes)
#include "tst_date_boxes.moc"
