// The tab strip and the date picker on their own: tabs by key with their
// frames and click events, and a picker that can be empty or not.

#include "platform/controls/date_picker.h"
#include "platform/controls/tab_strip.h"
#include "test_support.h"

#include <QCheckBox>
#include <QDateTimeEdit>
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
        tabs.addTab(QStringLiteral("care"), QStringLiteral("Care and Feeding"), QStringLiteral("Care & feeding details..."));
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
};

ZORBI_TEST_MAIN(TestFormControls)
#include "tst_form_controls.moc"
