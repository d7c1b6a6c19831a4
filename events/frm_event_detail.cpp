#include "events/frm_event_detail.h"
#include "core/codes.h"

#include "platform/dates.h"
#include "core/edit.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/system.h"
#include "events/repeat_rule.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "platform/controls/vb_image.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 3002;

// The value a lookup stores for the entry the user reads as `text`.
QVariant lookupValue(const DataControl *lookup, const QString &listField, const QString &boundField,
                     const QString &text)
{
    for (int r = 0; r < lookup->recordCount(); ++r)
        if (lookup->value(r, listField).toString().compare(text, Qt::CaseInsensitive) == 0)
            return lookup->value(r, boundField);
    return {};
}

} // namespace

frm_event_detail::frm_event_detail(QWidget *parent) : DetailWindow(parent)
{
    setObjectName(QStringLiteral("frm_event_detail"));
    setModal(true);

    Datatbl_reminder_units = new DataControl(this);
    Datatbl_reminder_units->setObjectName(QStringLiteral("Datatbl_reminder_units"));
    datatbl_repeat_type = new DataControl(this);
    datatbl_repeat_type->setObjectName(QStringLiteral("datatbl_repeat_type"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildMenuBar();
    buildToolBar();
    outer->addWidget(ctToolBar_Menubar);
    outer->addWidget(ctToolbar_Toolbar);
    auto *body = new QWidget(this);
    outer->addWidget(body, 1);
    auto *bodyRow = new QHBoxLayout(body);
    bodyRow->setContentsMargins(10, 10, 10, 10);
    bodyRow->setSpacing(12);

    // The picture sits in a box of its own: the image control is placed, not laid out.
    auto *pictureBox = new QWidget(body);
    pictureBox->setFixedSize(36, 36);
    ImageMain = new VbImage(pictureBox);
    ImageMain->setObjectName(QStringLiteral("ImageMain"));
    bodyRow->addWidget(pictureBox, 0, Qt::AlignTop);

    auto *fields = new QWidget(body);
    bodyRow->addWidget(fields, 1);
    buildFields(fields);
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    auto caption = [fields](const QString &text) { return new QLabel(text, fields); };
    grid->addWidget(caption(QStringLiteral("Event:")), 0, 0);
    grid->addWidget(txtevent_name, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Date:")), 1, 0);
    grid->addWidget(DTPickerEvent[0], 1, 1);
    grid->addWidget(Check1[2], 1, 2);
    grid->addWidget(DTPickerEvent[1], 1, 3);
    grid->addWidget(Check1[0], 2, 0, 1, 2);
    grid->addWidget(dbcboEvent[5], 2, 2, 1, 2);
    grid->addWidget(Check1[1], 3, 0, 1, 4);

    auto *repeat = new QGridLayout(frameRepeat);
    repeat->setHorizontalSpacing(8);
    repeat->addWidget(lblEvent[3], 0, 0);
    repeat->addWidget(dbcboEvent[0], 0, 1);
    repeat->addWidget(lblEvent[0], 0, 2);
    repeat->addWidget(lblEvent[4], 1, 0);
    repeat->addWidget(DTPickerEvent[2], 1, 1);
    repeat->setColumnStretch(2, 1);
    grid->addWidget(frameRepeat, 4, 0, 1, 4);

    auto *notesCaption = caption(QStringLiteral("Notes:"));
    grid->addWidget(notesCaption, 5, 0, Qt::AlignTop);
    grid->addWidget(txtEvent_notes, 5, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(5, 1);
    fields->setFocusProxy(txtevent_name);
    // Tab follows the fields as they are laid out: down the window, and left
    // to right along a row; a date field's box comes before its date.
    QList<QWidget *> order{txtevent_name};
    // The picker itself stands for its date; it is put right after the date so
    // that it is no stop of its own.
    auto addPicker = [&order](DatePicker *p) { order << p->checkBox() << p->editor() << p; };
    addPicker(DTPickerEvent[0]);
    order << Check1[2];
    addPicker(DTPickerEvent[1]);
    order << Check1[0] << dbcboEvent[5] << Check1[1] << dbcboEvent[0];
    addPicker(DTPickerEvent[2]);
    order << txtEvent_notes;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(ctToolBar_Menubar, &CtToolBar::itemClick, this, &frm_event_detail::ctToolBar_Menubar_ItemClick);
    connect(ctToolbar_Toolbar, &CtToolBar::itemClick, this, &frm_event_detail::ctToolbar_Toolbar_ItemClick);
    connect(DataDetail, &DataControl::reposition, this, &frm_event_detail::afterLoad);
    connect(Check1[0], &QCheckBox::toggled, this, &frm_event_detail::applyCheckStates);
    connect(Check1[2], &QCheckBox::toggled, this, &frm_event_detail::applyCheckStates);
    connect(Check1[1], &QCheckBox::toggled, this, &frm_event_detail::subRepeatText);
    for (DatePicker *picker : DTPickerEvent)
        connect(picker, &DatePicker::valueChanged, this, &frm_event_detail::subRepeatText);
    connect(dbcboEvent[0], &DbCombo::boundTextChanged, this, &frm_event_detail::subRepeatText);
    // Every field registers itself for the edit commands, so that they act on
    // the field the user is in.
    subWatchFocus({txtevent_name, DTPickerEvent[0], DTPickerEvent[1], DTPickerEvent[2], Check1[0], Check1[1], Check1[2],
                   dbcboEvent[5], dbcboEvent[0], txtEvent_notes},
                  [this] { subSetLocalMenus(); });

    // Load: the row comes from the data file, the lists from the system file.
    DataDetail->setDatabaseName(gDataDBPath);
    for (DataControl *lookup : {Datatbl_reminder_units, datatbl_repeat_type}) {
        lookup->setDatabaseName(gSystemDBPath);
        lookup->setReadOnly(true);
    }
    Datatbl_reminder_units->setRecordSource(
        QStringLiteral("SELECT * FROM tbl_reminder_units ORDER BY reminder_sort_order"));
    datatbl_repeat_type->setRecordSource(QStringLiteral("SELECT * FROM tbl_repeat_type ORDER BY repeat_type_id"));
    Datatbl_reminder_units->refresh();
    datatbl_repeat_type->refresh();
    mAskToSave = true;

    applyCheckStates();
    subRepeatText();
    resize(500, 440);
    txtevent_name->setFocus();
}

frm_event_detail::~frm_event_detail() = default;

void frm_event_detail::buildMenuBar()
{
    ctToolBar_Menubar = funRecordMenuBar(this, RecordMenuKeys::Plain, menuItems);
    menuItems.help = ctToolBar_Menubar->addItem(QStringLiteral("&Help"), {}, {}, CtToolBar::MenuTitle);
}

void frm_event_detail::buildToolBar()
{
    ctToolbar_Toolbar = funRecordToolBar(this, toolItems);
    ctToolbar_Toolbar->addSeparator();
    toolItems.help = ctToolbar_Toolbar->addItem(QStringLiteral("Help"), QStringLiteral("Help"), storeIcon(30));
}

void frm_event_detail::buildFields(QWidget *fields)
{
    auto named = [](QWidget *w, const QString &name) {
        w->setObjectName(name);
        return w;
    };

    frameRepeat = new QGroupBox(fields);
    frameRepeat->setObjectName(QStringLiteral("frameRepeat"));

    txtevent_name = new QLineEdit(fields);
    named(txtevent_name, QStringLiteral("txtevent_name"));
    DataDetail->bind(txtevent_name, QStringLiteral("event_name"));

    static const char *const kPickerFields[] = {"event_date", "event_time", "event_end_date"};
    for (int i = 0; i < 3; ++i) {
        auto *picker = new DatePicker(i == 2 ? frameRepeat : fields);
        named(picker, QStringLiteral("DTPickerEvent(%1)").arg(i));
        if (i == 1)
            picker->setCustomFormat(QStringLiteral("h:mm tt"));
        DTPickerEvent[size_t(i)] = picker;
    }

    static const char *const kCheckCaptions[] = {"Remind me in advance:", "Repeat this event", "All day, or at"};
    static const char *const kCheckFields[] = {"event_show_reminder", "event_type_repeating", "event_all_day"};
    for (int i = 0; i < 3; ++i) {
        auto *box = new QCheckBox(QString::fromLatin1(kCheckCaptions[i]), fields);
        named(box, QStringLiteral("Check1(%1)").arg(i));
        Check1[size_t(i)] = box;
    }

    static const char *const kLabelTexts[] = {"", "", "", "Every:", "Until:"};
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(QString::fromLatin1(kLabelTexts[i]), frameRepeat);
        named(label, QStringLiteral("lblEvent(%1)").arg(i));
        lblEvent[size_t(i)] = label;
    }
    // The stored repeat keys are kept with the row, not shown.
    lblEvent[1]->hide();
    lblEvent[2]->hide();

    // Both combos offer a list of the system file's and store the entry's id.
    auto lookupCombo = [&named](QWidget *parent, int index, DataControl *lookup, const char *listField,
                                const char *boundColumn) {
        auto *c = new DbCombo(parent);
        named(c, QStringLiteral("dbcboEvent(%1)").arg(index));
        c->setStyle(2);
        c->setRowSource(lookup);
        c->setListField(QString::fromLatin1(listField));
        c->setBoundColumn(QString::fromLatin1(boundColumn));
        return c;
    };
    dbcboEvent[5] = lookupCombo(fields, 5, Datatbl_reminder_units, "reminder_desc", "reminder_minutes");
    dbcboEvent[0] = lookupCombo(frameRepeat, 0, datatbl_repeat_type, "repeat_type_desc", "repeat_type_id");

    txtEvent_notes = new QPlainTextEdit(fields);
    named(txtEvent_notes, QStringLiteral("txtEvent_notes"));
    txtEvent_notes->setTabChangesFocus(true);

    for (int i = 0; i < 3; ++i) {
        DataDetail->bind(DTPickerEvent[size_t(i)], QString::fromLatin1(kPickerFields[i]));
        DataDetail->bind(Check1[size_t(i)], QString::fromLatin1(kCheckFields[i]));
    }
    DataDetail->bind(dbcboEvent[5], QStringLiteral("event_reminder_minutes"));
    DataDetail->bind(dbcboEvent[0], QStringLiteral("event_repeat_every"));
    DataDetail->bind(lblEvent[1], QStringLiteral("event_repeat_day_of_week"));
    DataDetail->bind(lblEvent[2], QStringLiteral("event_repeat_day_of_month"));
    DataDetail->bind(txtEvent_notes, QStringLiteral("event_notes"));
}

// ---------------------------------------------------------------- states

void frm_event_detail::applyCheckStates()
{
    dbcboEvent[5]->setEnabled(Check1[0]->isChecked());
    DTPickerEvent[1]->setEnabled(!Check1[2]->isChecked());
}

void frm_event_detail::forgetKeyLabelChanges()
{
    DataDetail->setDataChanged(lblEvent[1], false);
    DataDetail->setDataChanged(lblEvent[2], false);
}

void frm_event_detail::afterLoad()
{
    applyCheckStates();
    subRepeatText();
    // The keys follow the date as loaded; only a change of the date or the
    // unit makes them a change of the row.
    forgetKeyLabelChanges();
}

void frm_event_detail::setDeleteEnabled(bool enabled)
{
    ctToolBar_Menubar->setItemEnabled(menuItems.del, enabled);
    ctToolbar_Toolbar->setItemEnabled(toolItems.del, enabled);
}

void frm_event_detail::Form_Activate()
{
    // A new event is not in the file yet: there is nothing to delete.
    setDeleteEnabled(DataDetail->editMode() != DataControl::EditAdd);
}

bool frm_event_detail::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        Form_Activate();
    return QDialog::event(e);
}

QString frm_event_detail::titleFor(const QVariant &name)
{
    constexpr qsizetype kLongest = 60; // characters; a title bar shows no more
    if (name.isNull())
        return QStringLiteral("(None)");
    const QString text = name.toString();
    return text.size() <= kLongest ? text : text.left(kLongest - 3) + QStringLiteral("...");
}

void frm_event_detail::subNewEvent(const QDate &date)
{
    m_newEventDate = date;
    DataDetail->setField(QStringLiteral("event_reminder_minutes"),
                         lookupValue(Datatbl_reminder_units, QStringLiteral("reminder_desc"),
                                     QStringLiteral("reminder_minutes"), QStringLiteral("30 minutes")));
    DataDetail->setField(QStringLiteral("event_repeat_every"),
                         lookupValue(datatbl_repeat_type, QStringLiteral("repeat_type_desc"),
                                     QStringLiteral("repeat_type_id"), QStringLiteral("Month")));
    DataDetail->setField(QStringLiteral("event_date"), dbDate(date));
    // A calendar month on: 31 January runs until the last day of February.
    DataDetail->setField(QStringLiteral("event_end_date"), dbDate(date.addMonths(1)));
    DataDetail->setField(QStringLiteral("event_all_day"), -1);
    DataDetail->setField(QStringLiteral("event_show_reminder"), -1);
    afterLoad();
    Form_Activate();
}

// ---------------------------------------------------------------- the repeat

void frm_event_detail::subRepeatText()
{
    const bool repeating = Check1[1]->isChecked();
    dbcboEvent[0]->setEnabled(repeating);
    DTPickerEvent[2]->setEnabled(repeating);
    lblEvent[3]->setEnabled(repeating);
    lblEvent[4]->setEnabled(repeating);
    lblEvent[0]->setVisible(repeating);

    const QString unit = dbcboEvent[0]->Text();
    const QDate d = dateFromDb(DTPickerEvent[0]->Value());
    if (!d.isValid()) {
        // Without a date there is no day to repeat on.
        lblEvent[0]->setText(unit == QLatin1String("Day") ? QStringLiteral("(Every day)") : QString());
        lblEvent[1]->setText(QString());
        lblEvent[2]->setText(QString());
        return;
    }
    const QLocale locale;
    lblEvent[1]->setText(QString::number(d.day()));
    lblEvent[2]->setText(locale.toString(d, QStringLiteral("MMMM d")));
    if (unit == QLatin1String("Day")) {
        lblEvent[0]->setText(QStringLiteral("(Every day)"));
    } else if (unit == QLatin1String("Week")) {
        lblEvent[0]->setText(QStringLiteral("(on ") + locale.toString(d, QStringLiteral("dddd"))
                             + QStringLiteral("s)"));
        lblEvent[1]->setText(QString::number(repeat_rule::keyOf(d).weekday));
    } else if (unit == QLatin1String("Month")) {
        lblEvent[0]->setText(QStringLiteral("(Day %1)").arg(d.day()));
    } else if (unit == QLatin1String("Year")) {
        lblEvent[0]->setText(QStringLiteral("(") + locale.toString(d, QStringLiteral("MMMM d")) + QStringLiteral(")"));
    }
}

// ---------------------------------------------------------------- commands

LocalMenuItems frm_event_detail::localMenuItems() const
{
    LocalMenuItems items;
    items.menuBar = ctToolBar_Menubar;
    items.editItems = menuItems.editItems();
    return items;
}

void frm_event_detail::subSetLocalMenus() { ::subSetLocalMenus(this, localMenuItems()); }

void frm_event_detail::subToolbarItems() { subUpdateFieldButtons(localMenuItems(), gActiveControl); }

bool frm_event_detail::commitTypedFields()
{
    for (DatePicker *picker : DTPickerEvent)
        if (!picker->commitTyping())
            return false;
    return true;
}

bool frm_event_detail::hasChangesToSave() const
{
    return DataDetail->editMode() == DataControl::EditAdd || DataDetail->dataChanged();
}

bool frm_event_detail::checkFields() { return funEventHandler(this, ActionValidate, 0); }

QString frm_event_detail::rowTitle() const { return titleFor(DataDetail->field(QStringLiteral("event_name"))); }

long frm_event_detail::rowId() const { return long(DataDetail->field(QStringLiteral("event_id")).toLongLong()); }

void frm_event_detail::rowWritten()
{
    afterLoad();
    Form_Activate();
}

bool frm_event_detail::rowNotWritten(bool adding)
{
    // A new event starts again from its defaults, so that the window still
    // has a row to edit.
    if (adding) {
        DataDetail->addNew();
        subNewEvent(m_newEventDate);
    } else {
        afterLoad();
    }
    return false;
}

bool frm_event_detail::deleteRow() { return funEventHandler(this, ActionDeleteBound, rowId()); }

void frm_event_detail::subPrint()
{
    subSave(true, false);
    funEventHandler(this, ActionPrint, rowId());
}

void frm_event_detail::ctToolBar_Menubar_ItemClick(int id)
{
    const RecordMenuItems &m = menuItems;
    if (!recordMenuItem(m, id, kHelpContext))
        funEditMenuItem(this, m, id);
}

void frm_event_detail::ctToolbar_Toolbar_ItemClick(int id)
{
    const RecordToolItems &t = toolItems;
    recordToolItem(t, id, kHelpContext);
}

// ---------------------------------------------------------------- writing and closing

void frm_event_detail::aboutToWrite()
{
    if (DataDetail->editMode() == DataControl::EditNone)
        DataDetail->edit();
    subRepeatText();
    DataDetail->setField(QStringLiteral("event_acknowledged_date"), kNotAcknowledged);
    DataDetail->setField(QStringLiteral("event_repeat_day_of_week"), lblEvent[1]->text());
    DataDetail->setField(QStringLiteral("event_repeat_day_of_month"), lblEvent[2]->text());
}
