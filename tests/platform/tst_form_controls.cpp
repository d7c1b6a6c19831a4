// The tab strip and the date picker on their own: tabs by key with their
// frames and click events, and a picker that can be empty or not.

#include "platform/controls/date_picker.h"
#include "platform/controls/tab_strip.h"
#include "platform/dialogs.h"
#include "test_support.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QMessageBox>
#include <QTimer>
#include <QSignalSpy>
#include <QtTest>

class TestFormControls : public QObject {
    Q_OBJECT

private slots:
    void tabStripShowsTheFrameOfItsTab()
    {
        QWidget window;
        TabStrip tabs(&window);
        QWidget one(&window), two(&window), three(&window);
        tabs.addTab(QStringLiteral("details"), QStringLiteral("Details"), QStringLiteral("Details..."));
        tabs.addTab(QStringLiteral("care"), QStringLiteral("Care and Feeding"),
                    QStringLiteral("Care & feeding details..."));
        QCOMPARE(tabs.addTab(QStringLiteral("vaccine"), QStringLiteral("Vaccinations and Meds")), 3);
        tabs.setFrames({&one, &two, &three});
        window.show();
        QSignalSpy clicks(&tabs, &TabStrip::click);
        QCOMPARE(tabs.SelectedIndex(), 1);
        QVERIFY(one.isVisible() && !two.isVisible() && !three.isVisible());
        QCOMPARE(tabs.key(2), QStringLiteral("care"));
        QCOMPARE(tabs.tabToolTip(1), QStringLiteral("Care & feeding details..."));
        QCOMPARE(tabs.indexOfKey(QStringLiteral("VACCINE")), 3);
        QCOMPARE(tabs.indexOfKey(QStringLiteral("diary")), 0);

        tabs.setSelectedIndex(3);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!one.isVisible() && three.isVisible());
        // Choosing the tab already chosen still raises the click.
        tabs.setSelectedIndex(3);
        QCOMPARE(clicks.count(), 2);
        tabs.setSelectedIndex(9); // no such tab
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(tabs.SelectedIndex(), 3);
        // A click of the user's.
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center());
        QCOMPARE(tabs.SelectedIndex(), 2);
        QCOMPARE(clicks.count(), 3);
        QVERIFY(two.isVisible() && !three.isVisible());
    }

    void datePickerCanBeEmpty()
    {
        DatePicker picker;
        QSignalSpy changes(&picker, &DatePicker::valueChanged);
        picker.setValue(QStringLiteral("2024-02-29"));
        QCOMPARE(picker.Value(), QVariant(QDate(2024, 2, 29)));
        QCOMPARE(picker.editor()->date(), QDate(2024, 2, 29));
        picker.setValue(QStringLiteral("3/1/2024")); // as the user's short date
        QCOMPARE(picker.Value(), QVariant(QDate(2024, 3, 1)));
        picker.setValue(QVariant());
        QVERIFY(picker.isNull());
        QVERIFY(!picker.Value().isValid());
        QVERIFY(!picker.editor()->isEnabled());
        QCOMPARE(changes.count(), 3);
        picker.checkBox()->setChecked(true); // the user gives it a value again
        QCOMPARE(picker.Value(), QVariant(QDate(2024, 3, 1)));
        QTest::keyClick(picker.editor(), Qt::Key_Up); // the month goes up
        QCOMPARE(picker.Value(), QVariant(QDate(2024, 4, 1)));
        QCOMPARE(changes.count(), 5);
        QCOMPARE(picker.editor()->minimumDate(), QDate(1900, 1, 1));
    }

    void datePickerWithoutCheckBoxKeepsItsValue()
    {
        DatePicker picker;
        picker.setCheckBox(false);
        picker.setValue(QDate(2020, 5, 17));
        picker.setValue(QVariant());
        picker.setValue(QStringLiteral("not a date"));
        QCOMPARE(picker.Value(), QVariant(QDate(2020, 5, 17)));
        picker.setEnabled(false);
        QVERIFY(!picker.editor()->isEnabled());
        picker.setEnabled(true);
        QVERIFY(picker.editor()->isEnabled());
    }

    // A message box opens over a window on screen, whatever its owner: a
    // hidden owner (the form that holds shared controls, a window about to be
    // shown) or none would put it at the top left.
    void messageBoxOpensOverAWindowOnScreen_data()
    {
        QTest::addColumn<int>("owner"); // 0 the window, 1 a hidden window, 2 none
        QTest::newRow("its window") << 0;
        QTest::newRow("hidden owner") << 1;
        QTest::newRow("no owner") << 2;
    }
    void messageBoxOpensOverAWindowOnScreen()
    {
        QFETCH(int, owner);
        QWidget window;
        window.setGeometry(560, 420, 400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget hidden;
        QWidget *owners[3] = {&window, &hidden, nullptr};
        QCOMPARE(ui::ownerWindow(owners[owner]), &window);
        QPoint centre;
        QWidget *parent = nullptr;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                centre = box->frameGeometry().center();
                parent = box->parentWidget();
                box->close();
            }
        });
        ui::QtDialogs().msgBox(owners[owner], QStringLiteral("Where am I?"), ui::OKOnly, QString());
        QCOMPARE(parent, &window);
        QVERIFY2(window.frameGeometry().contains(centre),
                 qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
    }
};

ZORBI_TEST_MAIN(TestFormControls)
#include "tst_form_controls.moc"
