#include "records/frm_pet_detail.h"
#include "core/codes.h"

#include "core/auto_complete.h"
#include "platform/dates.h"
#include "core/frm_controls.h"
#include "core/frm_date.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/menu.h"
#include "core/picture_files.h"
#include "core/settings.h"
#include "core/system.h"
#include "platform/clock.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/data_grid.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "platform/controls/rich_text_box.h"
#include "platform/controls/tab_strip.h"
#include "platform/controls/vb_image.h"
#include "platform/db/database.h"
#include "platform/dialogs.h"
#include "records/pet_handler.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>

namespace {

// Where the pet's picture sits on the details tab, in twips.
constexpr int kPictureBox = 2880;
constexpr int kPictureLeft = 5100;

// The details tab's fields stand left of the picture.
constexpr int kFieldColumnWidth = 332;

QPixmap generalPicture(int index) { return gControls ? gControls->ctImageMain.picture(0, index) : QPixmap(); }

QString indexed(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QPushButton *plainButton(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    // Enter in a field never presses a button of the window.
    b->setAutoDefault(false);
    return b;
}

// A small button beside a field that adds a person.
QPushButton *personButton(int index, const QString &tip, QWidget *parent)
{
    auto *b = named(plainButton(QString(), parent), indexed("cmdPet", index));
    b->setIcon(storeIcon(2));
    b->setToolTip(tip);
    b->setFixedWidth(28);
    return b;
}

DbCombo *contactCombo(const QString &name, const QString &tip, QWidget *parent)
{
    auto *c = named(new DbCombo(parent), name);
    c->setToolTip(tip);
    c->setListField(QStringLiteral("contact_name"));
    c->setBoundColumn(QStringLiteral("contact_id"));
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(16);
    return c;
}

DbCombo *listCombo(const QString &name, const QString &listField, QWidget *parent)
{
    auto *c = named(new DbCombo(parent), name);
    c->setListField(listField);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(12);
    return c;
}

// A frame around a group of fields with its caption set into the frame's top
// line. The style's own group box draws the caption above the line, apart
// from the frame, where it reads as the caption of nothing in particular.
class CaptionedFrame : public QGroupBox {
public:
    explicit CaptionedFrame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QFontMetrics fm = fontMetrics();
        const QRect caption(6, 0, fm.horizontalAdvance(title()) + 8, fm.height());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRegion(QRegion(rect()).subtracted(caption));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRoundedRect(QRectF(rect().adjusted(0, fm.height() / 2, -1, -1)).translated(0.5, 0.5), 3, 3);
        painter.setClipping(false);
        style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                              title(), QPalette::WindowText);
    }
};

QWidget *row(QWidget *parent, std::initializer_list<QWidget *> widgets, int stretchAt = 0)
{
    auto *w = new QWidget(parent);
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    int i = 0;
    for (QWidget *x : widgets) {
        x->setParent(w);
        h->addWidget(x, i == stretchAt ? 1 : 0);
        ++i;
    }
    return w;
}

// The Tab key goes through `chain` in this order.
void tabChain(std::initializer_list<QWidget *> chain)
{
    QWidget *previous = nullptr;
    for (QWidget *w : chain) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QString pictureErrorText(int number, const QString &description)
{
    switch (number) {
    case 53:
    case 76: return QStringLiteral("The picture file for this pet was not found. Please import a new picture.");
    case 481:
        return QStringLiteral("You have selected an unsupported picture format. Please import a different picture.");
    default: return QString::number(number) + QStringLiteral(": ") + description;
    }
}

// The distinct values of `field` in `table`, ordered as SELECT DISTINCT ...
// ORDER BY would give them (a Null first, when there is one), found by
// stepping through the field's index from one value to the next rather than
// by reading every row: the diary of a large household has a hundred
// thousand rows and a dozen categories. `table` and `field` are our names,
// never user text.
QString distinctValuesSql(const char *table, const char *field)
{
    return QStringLiteral("WITH RECURSIVE used(value) AS ("
                          "SELECT min(%2) FROM %1 "
                          "UNION ALL SELECT (SELECT min(%2) FROM %1 WHERE %2 > used.value) FROM used "
                          "WHERE used.value IS NOT NULL) "
                          "SELECT NULL AS %2 WHERE EXISTS (SELECT 1 FROM %1 WHERE %2 IS NULL) "
                          "UNION ALL SELECT value FROM used WHERE value IS NOT NULL")
        .arg(QLatin1String(table), QLatin1String(field));
}

QString shortDateText(const QVariant &value)
{
    const QDate d = anyDate(value);
    return d.isValid() ? d.toString(vbShortDateFormat()) : QString();
}

} // namespace

// One of tabs 3 to 6: a header picture and a prompt over the grid of one kind
// of the pet's rows, and under it a captioned frame with the row's fields and
// its Add/Save, Cancel and Delete buttons. The tabs differ in their table, the
// table's pet-id field, the field that takes the focus after each step, the
// list read again after a step and the values a new row starts with.
class PetRecordTab : public QObject {
public:
    struct Kind {
        const char *caption, *prompt, *buttons, *petIdField;
    };
    PetRecordTab(QWidget *frame, int index, const Kind &kind, DataControl *rows);

    DataControl *const data;
    const char *const petIdField;
    QLabel *icon = nullptr;
    DataGrid *grid = nullptr;
    QFormLayout *form = nullptr;
    QVBoxLayout *column = nullptr;
    std::array<QPushButton *, 3> buttons{};
    QWidget *focus = nullptr;
    DataControl *lookup = nullptr;
    std::function<void(DataControl *)> newRowValues;

    // A new row, and the buttons say "&Add" with Delete off.
    void startNewRow();
    // 0 Add/Save (writes the row on screen when it changed), 1 Cancel,
    // 2 Delete; then a new row and the focus in the first field.
    void buttonClicked(int which);
    // A row picked in the grid is edited: "&Save", Delete on.
    void rowChosen();
};

PetRecordTab::PetRecordTab(QWidget *frame, int index, const Kind &kind, DataControl *rows)
    : QObject(frame), data(rows), petIdField(kind.petIdField)
{
    column = new QVBoxLayout;
    icon = named(new QLabel(frame), indexed("Imagepet", index));
    icon->setFixedSize(32, 32);
    auto *prompt = new QLabel(QString::fromLatin1(kind.prompt), frame);
    prompt->setWordWrap(true);
    column->addWidget(row(frame, {icon, prompt}, 1));
    grid = named(new DataGrid(frame), indexed("DBGridPet", index));
    grid->setDataSource(data);
    column->addWidget(grid, 1);

    auto *details = new CaptionedFrame(QString::fromLatin1(kind.caption), frame);
    auto *inner = new QVBoxLayout(details);
    form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    inner->addLayout(form);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    const QString captions[3] = {QStringLiteral("&Add"), QStringLiteral("&Cancel"), QStringLiteral("&Delete")};
    for (int i = 0; i < 3; ++i) {
        buttons[size_t(i)] = named(plainButton(captions[i], details), indexed(kind.buttons, i));
        buttonRow->addWidget(buttons[size_t(i)]);
        connect(buttons[size_t(i)], &QPushButton::clicked, this, [this, i] { buttonClicked(i); });
    }
    inner->addLayout(buttonRow);
    column->addWidget(details);
    connect(grid, &DataGrid::rowColChange, this, [this] { rowChosen(); });
}

void PetRecordTab::startNewRow()
{
    if (data->addNew() && newRowValues)
        newRowValues(data);
    buttons[0]->setText(QStringLiteral("&Add"));
    buttons[2]->setEnabled(false);
}

void PetRecordTab::buttonClicked(int which)
{
    const QVariant written = data->lastModified();
    bool changed = false;
    switch (which) {
    case 0:
        // Starting a new row first writes the one on screen when it changed.
        if (!data->addNew())
            return; // the failed write was reported; the row stays as typed
        changed = data->lastModified() != written;
        break;
    case 1: data->updateControls(); break;
    case 2:
        if (data->editMode() == DataControl::EditAdd || data->absolutePosition() < 0)
            return;
        if (!data->remove()) {
            const db::DbError &e = data->lastError();
            ui::errorReport(e.number, e.description, QStringLiteral("subRecordButton"));
            return;
        }
        changed = true;
        break;
    default: return;
    }
    // The list is read again after a write, so it keeps its order.
    if (changed)
        data->refresh();
    startNewRow();
    if (lookup)
        lookup->refresh();
    if (focus)
        focus->setFocus();
}

void PetRecordTab::rowChosen()
{
    if (grid->Row() < 0)
        return;
    buttons[0]->setText(QStringLiteral("&Save"));
    buttons[2]->setEnabled(true);
    data->edit();
}

frm_pet_detail::frm_pet_detail(QWidget *parent) : DetailWindow(parent)
{
    setObjectName(QStringLiteral("frm_pet_detail"));
    setWindowTitle(QStringLiteral("Pet Details"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    buildDataControls();
    buildBars();

    tbsPet = named(new TabStrip(this), QStringLiteral("tbsPet"));
    tbsPet->addTab(QStringLiteral("details"), QStringLiteral("Details"), QStringLiteral("Details..."));
    tbsPet->addTab(QStringLiteral("care"), QStringLiteral("Care and Feeding"),
                   QStringLiteral("Care & feeding details..."));
    tbsPet->addTab(QStringLiteral("vaccine"), QStringLiteral("Vaccinations and Meds"),
                   QStringLiteral("Vaccinations & medications"));
    tbsPet->addTab(QStringLiteral("diary"), QStringLiteral("Diary"), QStringLiteral("Diary entries..."));
    tbsPet->addTab(QStringLiteral("commands"), QStringLiteral("Commands"), QStringLiteral("Commands..."));
    tbsPet->addTab(QStringLiteral("miscellaneous"), QStringLiteral("Misc. Information"),
                   QStringLiteral("Miscellaneous information..."));
    tbsPet->setExpanding(false);

    auto *frames = new QWidget(this);
    auto *stack = new QGridLayout(frames);
    stack->setContentsMargins(0, 0, 0, 0);
    for (int i = 1; i <= 6; ++i) {
        frmPet[i] = named(new QWidget(frames), indexed("frmPet", i));
        stack->addWidget(frmPet[i], 0, 0);
    }
    buildDetailsTab();
    buildCareTab();
    buildRecordTabs();
    tbsPet->setFrames({frmPet[1], frmPet[2], frmPet[3], frmPet[4], frmPet[5], frmPet[6]});

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 0, 6, 6);
    outer->setSpacing(4);
    outer->setMenuBar(ctToolBar_Menubar);
    outer->addWidget(ctToolbar_Toolbar);
    outer->addWidget(tbsPet);
    outer->addWidget(frames, 1);

    // ---- the pet's fields
    DataDetail->bind(txtPet[0], QStringLiteral("pet_name"));
    DataDetail->bind(txtPet[1], QStringLiteral("pet_nickname"));
    DataDetail->bind(txtPet[2], QStringLiteral("pet_color"));
    DataDetail->bind(txtPet[3], QStringLiteral("pet_dob"));
    // The birthday is kept as the files' date and shown as the user writes dates.
    DataDetail->setDataFormat(
        txtPet[3], [](const QVariant &stored) -> QVariant { return shortDateText(stored); },
        [](const QVariant &shown) -> QVariant {
            const QString text = shown.toString().trimmed();
            if (text.isEmpty())
                return QString();
            return vbIsDate(text) ? QVariant(dbDate(vbCDate(text))) : QVariant(text);
        });
    DataDetail->bind(txtPet[4], QStringLiteral("pet_weight"));
    DataDetail->bind(txtPet[9], QStringLiteral("pet_height_length"));
    DataDetail->bind(txtPet[10], QStringLiteral("pet_mother"));
    DataDetail->bind(txtPet[11], QStringLiteral("pet_father"));
    DataDetail->bind(DBCbopet[0], QStringLiteral("pet_sitter_id"));
    DataDetail->bind(DBCbopet[1], QStringLiteral("pet_emergency_contact_id"));
    DataDetail->bind(DBCbopet[2], QStringLiteral("pet_vet_id"));
    DataDetail->bind(DBCbopet[3], QStringLiteral("pet_breed"));
    DataDetail->bind(DBCbopet[5], QStringLiteral("pet_gender"));
    DataDetail->bind(lblPicture, QStringLiteral("pet_picture"));
    static const char *const notes[4] = {"pet_feeding", "pet_care", "pet_notes", "pet_insurance_details"};
    for (int i = 0; i < 4; ++i) {
        DataDetail->bind(rtbpet[i], QLatin1String(notes[i]) + QStringLiteral("_rtf"));
        DataDetail->bind(txtPetPlain[5 + i], QLatin1String(notes[i]));
        // The plain copy follows every change of its note.
        connect(rtbpet[i], &VbRichTextBox::textRTFChanged, this,
                [this, i] { txtPetPlain[5 + i]->setPlainText(rtbpet[i]->text()); });
    }

    // ---- the rows of tabs 3 to 6
    Datatbl_vaccine->bind(DBCombovaccine_0, QStringLiteral("vaccine_name"));
    Datatbl_vaccine->bind(DTPickerPet[0], QStringLiteral("vaccine_received_date"));
    Datatbl_vaccine->bind(DTPickerPet[1], QStringLiteral("vaccine_expiration_date"));
    Datatbl_vaccine->bind(DBCbovaccine_0, QStringLiteral("vaccine_vet_id"));
    Datatbl_vaccine->bind(txtvaccine, QStringLiteral("vaccine_notes"));
    Datatbl_diary->bind(DTPickerPet[2], QStringLiteral("diary_date"));
    Datatbl_diary->bind(DBCbopet[4], QStringLiteral("diary_category"));
    Datatbl_diary->bind(txtdiary[1], QStringLiteral("diary_text"));
    Datatbl_command->bind(txtcommand[0], QStringLiteral("command_name"));
    Datatbl_command->bind(txtcommand[1], QStringLiteral("command_value"));
    Datatbl_property->bind(txtproperty[0], QStringLiteral("property_name"));
    Datatbl_property->bind(txtproperty[1], QStringLiteral("property_value"));
    // The lists' columns get room for what they usually hold, each time they are read.
    struct Width {
        int tab;
        const char *field;
        int pixels;
    };
    static const Width widths[] = {{3, "vaccine_name", 150},
                                   {3, "vaccine_received_date", 90},
                                   {3, "vaccine_expiration_date", 90},
                                   {3, "veterinarian_name", 130},
                                   {4, "diary_date", 90},
                                   {4, "diary_category", 120},
                                   {5, "command_name", 150},
                                   {6, "property_name", 130}};
    for (int tab = 3; tab <= 6; ++tab)
        connect(recordsOf(tab)->model(), &QAbstractItemModel::modelReset, this, [this, tab] {
            for (const Width &w : widths)
                if (w.tab == tab)
                    if (const int column = recordsOf(tab)->fieldIndex(QLatin1String(w.field)); column >= 0)
                        DBGridPet[size_t(tab)]->setColumnWidth(column, w.pixels);
        });
    for (int tab = 3; tab <= 6; ++tab) {
        connect(recordsOf(tab), &DataControl::validate, this,
                [this, tab](int &action, bool &save) { subRecordValidate(tab, action, save); });
    }

    // ---- lists
    for (int i = 0; i < 3; ++i) {
        DBCbopet[i]->setRowSource(dataContacts);
        connect(DBCbopet[i], &DbCombo::boundTextChanged, this, [this, i] { subShowContactPhone(i); });
    }
    DBCbovaccine_0->setRowSource(dataContacts);
    DBCbopet[3]->setRowSource(Datatbl_breed);
    DBCbopet[4]->setRowSource(Datadiary_category_lookup);
    DBCbopet[5]->setRowSource(Datatbl_gender_lookup);
    DBCombovaccine_0->setRowSource(datavaccine_lookup);
    connect(DBCombovaccine_0, &DbCombo::keyPress, this, [this](int &key) {
        readPickList(3);
        subAutoCompleteVaccine(DBCombovaccine_0, datavaccine_lookup, key);
    });
    connect(DBCbopet[3], &DbCombo::keyPress, this,
            [this](int &key) { subAutoCompleteBreed(DBCbopet[3], Datatbl_breed, key); });
    connect(DBCbopet[4], &DbCombo::keyPress, this, [this](int &key) {
        readPickList(4);
        subAutoCompleteDiaryCategory(DBCbopet[4], Datadiary_category_lookup, key);
    });
    connect(DBCbopet[5], &DbCombo::keyPress, this,
            [this](int &key) { subAutoCompleteGender(DBCbopet[5], Datatbl_gender_lookup, key); });

    // ---- buttons and keys
    for (int i = 0; i < 6; ++i)
        connect(cmdPet[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdPet_Click(i); });
    connect(cmdPet_dob, &QPushButton::clicked, this, &frm_pet_detail::cmdPet_dob_Click);
    connect(cmdDiary_date, &QPushButton::clicked, this, &frm_pet_detail::cmdDiary_date_Click);
    connect(tbsPet, &TabStrip::click, this, &frm_pet_detail::tbsPet_Click);

    // The diary's date is one value: the picker holds it, the text box shows
    // it as text, and the date chooser writes into the text box.
    auto *diaryText = static_cast<QLineEdit *>(txtdiary[0]);
    connect(DTPickerPet[2], &DatePicker::valueChanged, this, [this, diaryText] {
        if (m_syncingDiaryDate)
            return;
        ++m_syncingDiaryDate;
        diaryText->setText(shortDateText(DTPickerPet[2]->Value()));
        --m_syncingDiaryDate;
    });
    connect(diaryText, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_syncingDiaryDate)
            return;
        ++m_syncingDiaryDate;
        if (text.trimmed().isEmpty())
            DTPickerPet[2]->setValue(QVariant());
        else if (vbIsDate(text))
            DTPickerPet[2]->setValue(vbCDate(text));
        --m_syncingDiaryDate;
    });

    auto *nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    nextTab->setContext(Qt::WindowShortcut);
    connect(nextTab, &QShortcut::activated, this, &frm_pet_detail::subNextTab);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &frm_pet_detail::subShowHelp);
    txtPet[3]->installEventFilter(this);
    ImagePicture->installEventFilter(this);
    frmPet[1]->installEventFilter(this);
    frmPet[3]->installEventFilter(this);
    frmPet[4]->installEventFilter(this);

    // Every field registers itself for the edit commands when it gets the focus.
    QList<QWidget *> fields;
    for (QWidget *w : txtPet)
        if (w)
            fields << w;
    for (QWidget *w : DBCbopet)
        fields << w;
    for (QWidget *w : rtbpet)
        fields << w;
    for (QWidget *w : DTPickerPet)
        fields << w;
    for (int tab = 3; tab <= 6; ++tab)
        fields << DBGridPet[tab];
    fields << DBCombovaccine_0 << DBCbovaccine_0 << txtvaccine << txtdiary[0] << txtdiary[1] << txtcommand[0]
           << txtcommand[1] << txtproperty[0] << txtproperty[1];
    subWatchFocus(fields, [this] { subSetLocalMenus(); });

    // Tab follows each tab's fields as they stand, top to bottom.
    tabChain({txtPet[0], txtPet[1], DBCbopet[3], txtPet[2], txtPet[3], cmdPet_dob, DBCbopet[2], cmdPet[2], txtPet[10],
              txtPet[11], txtPet[4], txtPet[9], DBCbopet[5]});
    tabChain({DBCbopet[0], cmdPet[0], DBCbopet[1], cmdPet[1], cmdPet[4], rtbpet[0], cmdPet[5], rtbpet[1]});
    tabChain({DBGridPet[3], DBCombovaccine_0, DTPickerPet[0], DTPickerPet[1], DBCbovaccine_0, cmdPet[3], txtvaccine,
              cmdVaccination[0], cmdVaccination[1], cmdVaccination[2]});
    tabChain(
        {DBGridPet[4], DTPickerPet[2], cmdDiary_date, DBCbopet[4], txtdiary[1], cmdDiary[0], cmdDiary[1], cmdDiary[2]});
    tabChain({DBGridPet[5], txtcommand[0], txtcommand[1], cmdCommand[0], cmdCommand[1], cmdCommand[2]});
    tabChain({DBGridPet[6], txtproperty[0], txtproperty[1], cmdProperty[0], cmdProperty[1], cmdProperty[2], rtbpet[2],
              rtbpet[3]});

    m_localItems.menuBar = ctToolBar_Menubar;
    m_localItems.editItems = menuItems.editItems();
    m_localItems.formatItems = {menuItems.bold, menuItems.italic, menuItems.underline, menuItems.outdent,
                                menuItems.indent};
    m_localItems.toolBar = ctToolbar_Toolbar;
    m_localItems.formatButtons = {toolItems.bold, toolItems.italic, toolItems.underline, toolItems.outdent,
                                  toolItems.indent};

    resize(660, 560);
    Form_Load();
}

frm_pet_detail::~frm_pet_detail() = default;

// ---------------------------------------------------------------- building

void frm_pet_detail::buildDataControls()
{
    auto make = [this](const char *name) {
        auto *dc = new DataControl(this);
        dc->setObjectName(QLatin1String(name));
        return dc;
    };
    dataContacts = make("dataContacts");
    Datatbl_vaccine = make("Datatbl_vaccine");
    Datatbl_diary = make("Datatbl_diary");
    Datatbl_command = make("Datatbl_command");
    Datatbl_property = make("Datatbl_property");
    datavaccine_lookup = make("datavaccine_lookup");
    Datadiary_category_lookup = make("Datadiary_category_lookup");
    Datatbl_breed = make("Datatbl_breed");
    Datatbl_gender_lookup = make("Datatbl_gender_lookup");
    for (DataControl *lookup :
         {dataContacts, datavaccine_lookup, Datadiary_category_lookup, Datatbl_breed, Datatbl_gender_lookup})
        lookup->setReadOnly(true);
    // The vaccination tab reads the saved query and writes its table.
    Datatbl_vaccine->setBaseTable(QStringLiteral("tbl_vaccine"), QStringLiteral("vaccine_id"));
}

void frm_pet_detail::buildBars()
{
    auto *menu = funRecordMenuBar(this, RecordMenuKeys::Underlined, menuItems);
    ctToolBar_Menubar = menu;
    const int title = CtToolBar::MenuTitle, entry = CtToolBar::MenuEntry;
    PetMenuItems &m = menuItems;
    menu->addSeparator();
    m.bold = menu->addItem(QStringLiteral("Bold"), {}, funFormatIcon(FormatCommand::Bold), entry);
    m.italic = menu->addItem(QStringLiteral("Italic"), {}, funFormatIcon(FormatCommand::Italic), entry);
    m.underline = menu->addItem(QStringLiteral("Underline"), {}, funFormatIcon(FormatCommand::Underline), entry);
    menu->addSeparator();
    m.outdent = menu->addItem(QStringLiteral("<- Outdent"), {}, funFormatIcon(FormatCommand::Outdent), entry);
    m.indent = menu->addItem(QStringLiteral("-> Indent"), {}, funFormatIcon(FormatCommand::Indent), entry);
    subAddPictureMenu(menu, m);
    m.help = menu->addItem(QStringLiteral("&Help"), {}, {}, title);
    connect(menu, &CtToolBar::itemClick, this, &frm_pet_detail::ctToolBar_Menubar_ItemClick);

    auto *tb = funRecordToolBar(this, toolItems);
    ctToolbar_Toolbar = tb;
    PetToolItems &t = toolItems;
    tb->addSeparator();
    t.bold =
        tb->addItem(QStringLiteral("Bold"), QStringLiteral("Bold Selected Text"), funFormatIcon(FormatCommand::Bold));
    t.italic = tb->addItem(QStringLiteral("Italic"), QStringLiteral("Italic selected text "),
                           funFormatIcon(FormatCommand::Italic));
    t.underline = tb->addItem(QStringLiteral("Underline"), QStringLiteral("Underline selected text"),
                              funFormatIcon(FormatCommand::Underline));
    tb->addSeparator();
    t.outdent =
        tb->addItem(QStringLiteral("Outdent"), QStringLiteral("Outdent line"), funFormatIcon(FormatCommand::Outdent));
    t.indent =
        tb->addItem(QStringLiteral("Indent"), QStringLiteral("Indent line"), funFormatIcon(FormatCommand::Indent));
    tb->addSeparator();
    t.picture = tb->addItem(QStringLiteral("Picture"), QStringLiteral("Import picture..."), storeIcon(20));
    tb->addSeparator();
    t.help = tb->addItem(QStringLiteral("Help"), QStringLiteral("Help"), storeIcon(30));
    connect(tb, &CtToolBar::itemClick, this, &frm_pet_detail::ctToolbar_Toolbar_ItemClick);
}

void frm_pet_detail::buildDetailsTab()
{
    QWidget *frame = frmPet[1];
    auto *left = named(new QWidget(frame), QStringLiteral("detailsFields"));
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(4, 8, 4, 4);
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    column->addLayout(form);

    for (int i : {0, 1, 2, 3, 4, 9, 10, 11})
        txtPet[size_t(i)] = named(new QLineEdit(frame), indexed("txtPet", i));
    for (int i = 5; i <= 8; ++i) {
        txtPetPlain[size_t(i)] = named(new QPlainTextEdit(frame), indexed("txtPet", i));
        txtPetPlain[size_t(i)]->hide();
    }
    DBCbopet[2] = contactCombo(indexed("DBCbopet", 2),
                               QStringLiteral("Select a veterinarian from the list, or click the button to the right "
                                              "to add a new veterinarian"),
                               frame);
    DBCbopet[3] = listCombo(indexed("DBCbopet", 3), QStringLiteral("breed_name"), frame);
    cmdPet[2] = personButton(2, QStringLiteral("Click to add a veterinarian"), frame);
    cmdPet_dob = named(plainButton(QStringLiteral("..."), frame), QStringLiteral("cmdPet_dob"));
    cmdPet_dob->setToolTip(QStringLiteral("Select birthday..."));
    cmdPet_dob->setFixedWidth(28);
    Label22_33 = named(new QLabel(QStringLiteral("(mm/dd/yyyy)"), frame), indexed("Label22", 33));
    lblPhone[2] = named(new QLabel(frame), indexed("lblPhone", 2));

    form->addRow(QStringLiteral("Pet Name:"), txtPet[0]);
    form->addRow(QStringLiteral("Nickname:"), txtPet[1]);
    form->addRow(QStringLiteral("Breed:"), DBCbopet[3]);
    form->addRow(QStringLiteral("Color / Markings:"), txtPet[2]);
    form->addRow(QStringLiteral("Birthday:"), row(frame, {txtPet[3], cmdPet_dob, Label22_33}));
    form->addRow(QStringLiteral("Veterinarian:"), row(frame, {DBCbopet[2], cmdPet[2]}));
    form->addRow(QString(), lblPhone[2]);

    auto *parents = named(new CaptionedFrame(QStringLiteral("Parents"), left), QStringLiteral("fraParents"));
    auto *parentsForm = new QFormLayout(parents);
    parentsForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    parentsForm->addRow(QStringLiteral("Mother:"), txtPet[10]);
    parentsForm->addRow(QStringLiteral("Father:"), txtPet[11]);
    column->addWidget(parents);
    column->addStretch(1);

    // The species icon and the picture stand right of the fields, placed in
    // twips as the picture routines place them.
    ImageMain = named(new QLabel(frame), QStringLiteral("ImageMain"));
    ImageMain->setGeometry(VbImage::twipsToPixels(kPictureLeft), 14, 32, 32);
    ImagePicture = named(new VbImage(frame), QStringLiteral("ImagePicture"));
    ImagePicture->setToolTip(QStringLiteral("Right-click for the picture menu"));
    lblPicture = named(new QLabel(frame), QStringLiteral("lblPicture"));
    lblPicture->hide();

    auto *vitals = named(new CaptionedFrame(QStringLiteral("Vitals"), frame), QStringLiteral("fraVitals"));
    auto *vitalsForm = new QFormLayout(vitals);
    vitalsForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    DBCbopet[5] = listCombo(indexed("DBCbopet", 5), QStringLiteral("gender"), vitals);
    DBCbopet[5]->setMinimumContentsLength(6);
    vitalsForm->addRow(QStringLiteral("Weight:"), txtPet[4]);
    vitalsForm->addRow(QStringLiteral("Height or Length:"), txtPet[9]);
    vitalsForm->addRow(QStringLiteral("Gender:"), DBCbopet[5]);
    const int pictureTop = VbImage::twipsToPixels(picture_files::kFittedTop + kPictureBox) + 10;
    vitals->setGeometry(VbImage::twipsToPixels(kPictureLeft) - 4, pictureTop, VbImage::twipsToPixels(kPictureBox) + 64,
                        vitals->sizeHint().height());
    vitals->setObjectName(QStringLiteral("fraVitals"));
    left->setGeometry(0, 0, kFieldColumnWidth, frame->height());
    frame->setMinimumSize(vitals->geometry().right() + 8,
                          qMax(vitals->geometry().bottom(), left->sizeHint().height()) + 8);
}

void frm_pet_detail::buildCareTab()
{
    QWidget *frame = frmPet[2];
    auto *v = new QVBoxLayout(frame);
    v->setContentsMargins(4, 8, 4, 4);

    auto *contacts = named(new CaptionedFrame(QStringLiteral("Contacts"), frame), QStringLiteral("fraContacts"));
    auto *form = new QFormLayout(contacts);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    DBCbopet[0] = contactCombo(indexed("DBCbopet", 0),
                               QStringLiteral("Select a sitter from the list, or click the button to the right to add "
                                              "a new sitter"),
                               contacts);
    DBCbopet[1] = contactCombo(indexed("DBCbopet", 1),
                               QStringLiteral("Select an emergency contact from the list, or click the button to the "
                                              "right to add a new emergency contact"),
                               contacts);
    cmdPet[0] = personButton(0, QStringLiteral("Click to add a pet sitter"), contacts);
    cmdPet[1] = personButton(1, QStringLiteral("Click to add an emergency contact"), contacts);
    for (int i = 0; i < 2; ++i) {
        lblPhone[size_t(i)] = named(new QLabel(contacts), indexed("lblPhone", i));
        lblPhone[size_t(i)]->setMinimumWidth(160);
    }
    form->addRow(QStringLiteral("Sitter:"), row(contacts, {DBCbopet[0], cmdPet[0], lblPhone[0]}));
    form->addRow(QStringLiteral("Emergency:"), row(contacts, {DBCbopet[1], cmdPet[1], lblPhone[1]}));
    v->addWidget(contacts);

    const QString captions[2] = {QStringLiteral("Feeding Instructions:"), QStringLiteral("Care Instructions:")};
    const QString imports[2] = {QStringLiteral("Import default feeding instructions..."),
                                QStringLiteral("Import default care instructions...")};
    for (int i = 0; i < 2; ++i) {
        rtbpet[size_t(i)] = named(new VbRichTextBox(frame), indexed("rtbpet", i));
        cmdPet[size_t(4 + i)] = named(plainButton(imports[i], frame), indexed("cmdPet", 4 + i));
        auto *label = new QLabel(captions[i], frame);
        v->addWidget(row(frame, {label, cmdPet[size_t(4 + i)]}, 0));
        v->addWidget(rtbpet[size_t(i)], 1);
    }
}

void frm_pet_detail::buildRecordTabs()
{
    static const PetRecordTab::Kind kinds[7] = {
        {},
        {},
        {},
        {"Vaccine / Med Details", "Select a vaccine or medication from the list to edit or delete:", "cmdVaccination",
         "vaccine_pet_id"},
        {"Diary Entry Details", "Select a diary entry from the list below to edit or delete:", "cmdDiary",
         "diary_pet_id"},
        {"Command Details", "Select a command from the list below to edit or delete:", "cmdCommand", "command_pet_id"},
        {"Misc. Information Details", "Select an item from the list below to edit or delete:", "cmdProperty",
         "property_pet_id"},
    };
    DataControl *const rows[7] = {nullptr,       nullptr,         nullptr,         Datatbl_vaccine,
                                  Datatbl_diary, Datatbl_command, Datatbl_property};
    QFormLayout *forms[7] = {};
    QVBoxLayout *columns[7] = {};
    for (int tab = 3; tab <= 6; ++tab) {
        auto *t = new PetRecordTab(frmPet[size_t(tab)], tab, kinds[tab], rows[tab]);
        m_tabs[size_t(tab)] = t;
        Imagepet[size_t(tab)] = t->icon;
        DBGridPet[size_t(tab)] = t->grid;
        forms[tab] = t->form;
        columns[tab] = t->column;
    }
    cmdVaccination = m_tabs[3]->buttons;
    cmdDiary = m_tabs[4]->buttons;
    cmdCommand = m_tabs[5]->buttons;
    cmdProperty = m_tabs[6]->buttons;

    // Vaccinations and medications.
    DBGridPet[3]->setColumns({{"vaccine_id", ""},
                              {"vaccine_object_type", ""},
                              {"vaccine_pet_id", ""},
                              {"vaccine_name", "Vaccine / Med"},
                              {"vaccine_received_date", "Received"},
                              {"vaccine_expiration_date", "Expires"},
                              {"vaccine_vet_id", ""},
                              {"vaccine_acknowledged_date", ""},
                              {"vaccine_cr_ts", ""},
                              {"veterinarian_name", "Veterinarian"},
                              {"vaccine_notes", "Notes"}});
    QWidget *f3 = frmPet[3];
    DBCombovaccine_0 = listCombo(indexed("DBCombovaccine", 0), QStringLiteral("vaccine_name"), f3);
    DBCbovaccine_0 = contactCombo(indexed("DBCbovaccine", 0), QString(), f3);
    cmdPet[3] = personButton(3, QStringLiteral("Select care person..."), f3);
    for (int i = 0; i < 3; ++i) {
        DTPickerPet[size_t(i)] = named(new DatePicker(frmPet[size_t(i < 2 ? 3 : 4)]), indexed("DTPickerPet", i));
        DTPickerPet[size_t(i)]->setFormat(DatePicker::ShortDate);
    }
    txtvaccine = named(new QPlainTextEdit(f3), QStringLiteral("txtvaccine"));
    txtvaccine->setTabChangesFocus(true);
    txtvaccine->setFixedHeight(46);
    forms[3]->addRow(QStringLiteral("Vaccine / Med:"), DBCombovaccine_0);
    forms[3]->addRow(QStringLiteral("Recieved:"),
                     row(f3, {DTPickerPet[0], new QLabel(QStringLiteral("Expires:")), DTPickerPet[1]}, 3));
    forms[3]->addRow(QStringLiteral("Done by:"), row(f3, {DBCbovaccine_0, cmdPet[3]}));
    forms[3]->addRow(QStringLiteral("Notes:"), txtvaccine);

    // Diary.
    DBGridPet[4]->setColumns({{"diary_id", ""},
                              {"diary_object_type", ""},
                              {"diary_pet_id", ""},
                              {"diary_date", "Date"},
                              {"diary_category", "Category"},
                              {"diary_text_rtf", ""},
                              {"diary_text", "Diary Entry"},
                              {"diary_cr_ts", ""}});
    QWidget *f4 = frmPet[4];
    txtdiary[0] = named(new QLineEdit(f4), indexed("txtdiary", 0));
    txtdiary[0]->hide();
    cmdDiary_date = named(plainButton(QStringLiteral("..."), f4), QStringLiteral("cmdDiary_date"));
    cmdDiary_date->setToolTip(QStringLiteral("Select date..."));
    cmdDiary_date->setFixedWidth(28);
    DBCbopet[4] = listCombo(indexed("DBCbopet", 4), QStringLiteral("diary_category"), f4);
    auto *entry = named(new QPlainTextEdit(f4), indexed("txtdiary", 1));
    entry->setTabChangesFocus(true);
    entry->setFixedHeight(70);
    txtdiary[1] = entry;
    auto *spacer = new QWidget;
    forms[4]->addRow(QStringLiteral("Date:"), row(f4, {DTPickerPet[2], cmdDiary_date, txtdiary[0], spacer}, 3));
    forms[4]->addRow(QStringLiteral("Category:"), DBCbopet[4]);
    forms[4]->addRow(QStringLiteral("Entry:"), txtdiary[1]);

    // Commands.
    DBGridPet[5]->setColumns({{"command_id", ""},
                              {"command_object_type", ""},
                              {"command_pet_id", ""},
                              {"command_name", "Command"},
                              {"command_value", "Behavior"},
                              {"command_cr_ts", ""}});
    QWidget *f5 = frmPet[5];
    txtcommand[0] = named(new QLineEdit(f5), indexed("txtcommand", 0));
    auto *behaviour = named(new QPlainTextEdit(f5), indexed("txtcommand", 1));
    behaviour->setTabChangesFocus(true);
    behaviour->setFixedHeight(70);
    txtcommand[1] = behaviour;
    forms[5]->addRow(QStringLiteral("Command:"), txtcommand[0]);
    forms[5]->addRow(QStringLiteral("Behavior:"), txtcommand[1]);

    // Miscellaneous information, with the pet's notes and insurance beside it.
    DBGridPet[6]->setColumns({{"property_id", ""}, {"property_name", "Item"}, {"property_value", "Value"}});
    QWidget *f6 = frmPet[6];
    txtproperty[0] = named(new QLineEdit(f6), indexed("txtproperty", 0));
    txtproperty[1] = named(new QLineEdit(f6), indexed("txtproperty", 1));
    forms[6]->addRow(QStringLiteral("Item:"), txtproperty[0]);
    forms[6]->addRow(QStringLiteral("Value:"), txtproperty[1]);
    auto *notes = new QVBoxLayout;
    const QString captions[2] = {QStringLiteral("Notes:"), QStringLiteral("Insurance:")};
    for (int i = 2; i < 4; ++i) {
        rtbpet[size_t(i)] = named(new VbRichTextBox(f6), indexed("rtbpet", i));
        notes->addWidget(new QLabel(captions[i - 2], f6));
        notes->addWidget(rtbpet[size_t(i)], 1);
    }

    // A new entry starts on today (a medication for a year).
    m_tabs[3]->focus = DBCombovaccine_0;
    m_tabs[3]->lookup = datavaccine_lookup;
    m_tabs[3]->newRowValues = [](DataControl *x) {
        const QDate today = zbclock::today();
        x->setField(QStringLiteral("vaccine_received_date"), today);
        x->setField(QStringLiteral("vaccine_expiration_date"), today.addYears(1));
    };
    m_tabs[4]->focus = DTPickerPet[2];
    m_tabs[4]->lookup = Datadiary_category_lookup;
    m_tabs[4]->newRowValues = [](DataControl *x) { x->setField(QStringLiteral("diary_date"), zbclock::today()); };
    m_tabs[5]->focus = txtcommand[0];
    m_tabs[6]->focus = txtproperty[0];

    for (int tab = 3; tab <= 6; ++tab) {
        auto *h = new QHBoxLayout(frmPet[size_t(tab)]);
        h->setContentsMargins(4, 8, 4, 4);
        h->addLayout(columns[tab], 1);
        if (tab == 6)
            h->addLayout(notes, 1);
    }
}

// ---------------------------------------------------------------- loading

void frm_pet_detail::Form_Load()
{
    for (DataControl *dc : {DataDetail, dataContacts, Datatbl_vaccine, Datatbl_diary, Datatbl_command, Datatbl_property,
                            datavaccine_lookup, Datadiary_category_lookup})
        dc->setDatabaseName(gDataDBPath);
    Datatbl_breed->setDatabaseName(gSystemDBPath);
    Datatbl_gender_lookup->setDatabaseName(gSystemDBPath);

    // The people of the address book for the person boxes; the phone of the
    // one chosen is read when it is shown.
    dataContacts->setRecordSource(QStringLiteral("SELECT contact_id, contact_name FROM tbl_contact "
                                                 "ORDER BY contact_name"));
    datavaccine_lookup->setRecordSource(distinctValuesSql("tbl_vaccine", "vaccine_name"));
    Datadiary_category_lookup->setRecordSource(distinctValuesSql("tbl_diary", "diary_category"));
    Datatbl_gender_lookup->setRecordSource(QStringLiteral("tbl_gender"));
    // The vaccine names and the diary categories are read when their tab is
    // first shown (readPickList).
    for (DataControl *lookup : {dataContacts, Datatbl_gender_lookup})
        lookup->refresh();

    // The photo sites the user keeps, as web addresses.
    subShowPhotoSiteItems(ctToolBar_Menubar, menuItems.photoSites);

    const QDate today = zbclock::today();
    DTPickerPet[0]->setValue(today);
    DTPickerPet[1]->setValue(today.addYears(1));
    DTPickerPet[2]->setValue(today);
    Label22_33->setText(picture_files::funGetLocaleInfo(31).toLower());
}

void frm_pet_detail::subPetDetailLoad(long petID)
{
    const QVariantList pet{qlonglong(petID)};
    Datatbl_vaccine->setRecordSource(QStringLiteral("SELECT * FROM qry_vaccine WHERE vaccine_pet_id = ? "
                                                    "ORDER BY vaccine_expiration_date DESC, vaccine_name ASC"),
                                     pet);
    Datatbl_diary->setRecordSource(
        QStringLiteral("SELECT * FROM tbl_diary WHERE diary_pet_id = ? ORDER BY diary_date DESC, diary_id DESC"), pet);
    Datatbl_command->setRecordSource(
        QStringLiteral("SELECT * FROM tbl_command WHERE command_pet_id = ? ORDER BY command_name ASC"), pet);
    Datatbl_property->setRecordSource(
        QStringLiteral("SELECT * FROM tbl_property WHERE property_pet_id = ? ORDER BY property_id ASC"), pet);
    for (int tab = 3; tab <= 6; ++tab) {
        if (!recordsOf(tab)->refresh()) {
            const db::DbError &e = recordsOf(tab)->lastError();
            ui::errorReport(e.number, e.description, QStringLiteral("subPetDetailLoad"));
        }
    }
    Datatbl_breed->setRecordSource(QStringLiteral("SELECT breed_name FROM tbl_breed WHERE breed_species_id = ?"),
                                   {DataDetail->field(QStringLiteral("pet_species_id"))});
    Datatbl_breed->refresh();

    // A picture that cannot be shown concerns the picture box alone: the rest
    // of the load always runs, so the tabs below start on new rows.
    subLoadPicture();

    ImageMain->setPixmap(
        pet_handler::funSpeciesIcon(long(DataDetail->field(QStringLiteral("pet_species_id")).toLongLong()))
            .pixmap(32, 32));
    const int headers[7] = {0, 0, 0, 8, 13, 9, 15};
    for (int tab = 3; tab <= 6; ++tab)
        Imagepet[size_t(tab)]->setPixmap(generalPicture(headers[tab]));
    for (int i = 0; i < 3; ++i)
        subShowContactPhone(i);
    for (int tab = 3; tab <= 6; ++tab)
        subStartNewRow(tab);
    const int tab = gPetDetailTab >= 1 && gPetDetailTab <= tbsPet->tabCount() ? gPetDetailTab : 1;
    tbsPet->setSelectedIndex(tab);
    ImagePicture->setVisible(true);
    // The load raised the data control's first validation, which arms the
    // question; the window starts unarmed, so its first close saves at once.
    mAskToSave = false;
    mKeepOpen = false;
}

void frm_pet_detail::subLoadPicture()
{
    const QString name = lblPicture->text();
    ImagePicture->setStretch(false);
    if (!ImagePicture->loadPicture(name.isEmpty() ? gDefaultPicture : gPicturePath + name)) {
        // The normal pointer for the question, whatever the caller shows.
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        ui::dialogs().msgBox(this, pictureErrorText(ImagePicture->lastError(), ImagePicture->lastErrorText()),
                             ui::OKOnly | ui::Exclamation, QStringLiteral("Picture error"));
        QApplication::restoreOverrideCursor();
        // The stand-in picture; the record keeps its file name until the user
        // imports or clears a picture.
        ImagePicture->loadPicture(gDefaultPicture);
    }
    picture_files::subSizePicture(ImagePicture, kPictureBox, kPictureLeft, false);
    ImagePicture->setVisible(true);
}

// ---------------------------------------------------------------- the pet

long frm_pet_detail::petId() const { return long(DataDetail->field(QStringLiteral("pet_id")).toLongLong()); }

bool frm_pet_detail::checkFields() { return ::funPetHandler(this, ActionValidate, petId(), QString(), 0); }

bool frm_pet_detail::afterFailedCheck()
{
    mAskToSave = true;
    return false;
}

QString frm_pet_detail::rowTitle() const { return DataDetail->field(QStringLiteral("pet_name")).toString(); }

void frm_pet_detail::rowWritten() { DataDetail->edit(); }

void frm_pet_detail::changesDropped(int action)
{
    if (action == DataControl::ActionUnload)
        m_dropped = true;
}

bool frm_pet_detail::deleteRow() { return ::funPetHandler(gMain, ActionDelete, petId(), QString(), 1); }

void frm_pet_detail::rowDeleted()
{
    for (int tab = 3; tab <= 6; ++tab)
        recordsOf(tab)->cancelUpdate();
}

void frm_pet_detail::subPrint() { ::funPetHandler(this, ActionPrint, petId(), QString(), 1); }

void frm_pet_detail::subShowContactPhone(int index)
{
    QLabel *label = lblPhone[size_t(index)];
    label->setText(QString());
    const QVariant chosen = DBCbopet[size_t(index)]->BoundText();
    if (chosen.isNull() || chosen.toString().isEmpty())
        return;
    // A person deleted meanwhile has no phone to show.
    auto person = gDataDB ? gDataDB->openRecordset(QStringLiteral("SELECT contact_ph_1, contact_ph_1_type "
                                                                  "FROM tbl_contact WHERE contact_id = ?"),
                                                   {chosen})
                          : nullptr;
    if (!person || person->isEOF())
        return;
    const QVariant phone = person->field(0);
    if (phone.isNull() || phone.toString().isEmpty())
        return;
    const QVariant type = person->field(1);
    label->setText((type.isNull() ? QString() : type.toString()) + QStringLiteral(": ") + phone.toString());
}

bool frm_pet_detail::personNamed(DbCombo *combo, int tab, const QString &title)
{
    const QString typed = combo->unmatchedText();
    if (typed.isEmpty())
        return true;
    // Saving would store no one in the box's place: the typed name is kept
    // in the box for the user to correct, and nothing is written.
    ui::dialogs().msgBox(this,
                         QStringLiteral("There is no one named \"") + typed
                             + QStringLiteral("\" in the address book. Please select a name from the list, or click "
                                              "the button to the right of the box to add a new person."),
                         ui::Information, title);
    if (tbsPet->SelectedIndex() != tab)
        tbsPet->setSelectedIndex(tab);
    combo->setFocus();
    if (QLineEdit *line = combo->lineEdit())
        line->selectAll();
    return false;
}

bool frm_pet_detail::funPeopleNamed()
{
    return personNamed(DBCbopet[2], 1, QStringLiteral("Veterinarian"))
           && personNamed(DBCbopet[0], 2, QStringLiteral("Sitter"))
           && personNamed(DBCbopet[1], 2, QStringLiteral("Emergency Contact"));
}

void frm_pet_detail::subAddContact(DbCombo *combo)
{
    const long added = ::funContactAddNew(this);
    if (added != 0) {
        dataContacts->refresh();
        combo->setBoundText(qlonglong(added));
        int index = 0;
        for (int i = 0; i < 3; ++i)
            if (DBCbopet[size_t(i)] == combo)
                index = i;
        subShowContactPhone(index);
    }
    combo->setFocus();
    subSetLocalMenus();
}

void frm_pet_detail::cmdPet_Click(int index)
{
    if (index < 4) {
        subAddContact(index < 3 ? DBCbopet[size_t(index)] : DBCbovaccine_0);
        return;
    }
    const bool feeding = index == 4;
    VbRichTextBox *box = rtbpet[feeding ? 0 : 1];
    if (!box->document()->isEmpty()) {
        const int answer = ui::dialogs().msgBox(this,
                                                feeding ? QStringLiteral("Overwrite existing feeding instructions?")
                                                        : QStringLiteral("Overwrite existing care instructions?"),
                                                ui::YesNoCancel | ui::Question | ui::DefaultButton3,
                                                QStringLiteral("Confirm overwrite"));
        if (answer != ui::Yes)
            return;
    }
    box->setTextRTF(pet_handler::funPetGetDefault(feeding ? 1 : 2));
    subSetLocalMenus();
}

void frm_pet_detail::cmdPet_dob_Click()
{
    if (const auto day = funShowDateChooser(this, QStringLiteral("Select pet birthday"), txtPet[3]->text()))
        txtPet[3]->setText(shortDateText(*day));
    txtPet[3]->setFocus();
}

// ---------------------------------------------------------------- the pet's rows

DataControl *frm_pet_detail::recordsOf(int tab) const
{
    return tab >= 3 && tab <= 6 && m_tabs[size_t(tab)] ? m_tabs[size_t(tab)]->data : nullptr;
}

void frm_pet_detail::subStartNewRow(int tab) { m_tabs[size_t(tab)]->startNewRow(); }

void frm_pet_detail::readPickList(int tab)
{
    if (m_pickListRead[size_t(tab)])
        return;
    m_pickListRead[size_t(tab)] = true;
    m_tabs[size_t(tab)]->lookup->refresh();
}

void frm_pet_detail::subRecordButton(int tab, int which)
{
    if (tab >= 3 && tab <= 6)
        m_tabs[size_t(tab)]->buttonClicked(which);
}

void frm_pet_detail::subRecordValidate(int tab, int &action, bool &save)
{
    // At the window's close the window decides (closeEvent): a half-typed row
    // is written with the pet, or dropped with it.
    if (action == DataControl::ActionUnload) {
        action = DataControl::ActionCancel;
        return;
    }
    if (!save || action == DataControl::ActionDelete)
        return;
    // A "Done by" that names no one is told, and the row is not written.
    if (tab == 3 && !personNamed(DBCbovaccine_0, 3, QStringLiteral("Done by"))) {
        action = DataControl::ActionCancel;
        return;
    }
    DataControl *x = recordsOf(tab);
    if (x->editMode() == DataControl::EditNone)
        x->edit();
    // A vaccination saved again is due for acknowledgement again.
    if (tab == 3)
        x->setField(QStringLiteral("vaccine_acknowledged_date"), kNotAcknowledged);
    if (x->editMode() == DataControl::EditAdd)
        x->setField(QLatin1String(m_tabs[size_t(tab)]->petIdField), DataDetail->field(QStringLiteral("pet_id")));
}

void frm_pet_detail::cmdDiary_date_Click()
{
    auto *text = static_cast<QLineEdit *>(txtdiary[0]);
    if (const auto day = funShowDateChooser(this, QStringLiteral("Select entry date"), text->text()))
        text->setText(shortDateText(*day)); // and so into the entry's date
    // The text box stands behind the picker, which takes the focus for it.
    DTPickerPet[2]->setFocus();
}

// ---------------------------------------------------------------- menus, tabs, keys

void frm_pet_detail::subSetLocalMenus() { ::subSetLocalMenus(this, m_localItems); }

void frm_pet_detail::subUpdateFieldButtons(QWidget *ctl) { ::subUpdateFieldButtons(m_localItems, ctl); }

void frm_pet_detail::ctToolBar_Menubar_ItemClick(int id)
{
    const PetMenuItems &m = menuItems;
    if (recordMenuItem(m, id, 2501))
        return;
    if (!funEditMenuItem(this, m, id) && !funPictureMenuItem(this, ctToolBar_Menubar, m, id, lblPicture->text()))
        formatCommand(id, {m.bold, m.italic, m.underline, m.outdent, m.indent});
}

void frm_pet_detail::ctToolbar_Toolbar_ItemClick(int id)
{
    const PetToolItems &t = toolItems;
    if (recordToolItem(t, id, 2501))
        return;
    if (id == t.picture)
        ::subImportPicture(this);
    else
        formatCommand(id, {t.bold, t.italic, t.underline, t.outdent, t.indent});
}

void frm_pet_detail::formatCommand(int id, const std::array<int, 5> &items)
{
    // In the order of the bars: Bold, Italic, Underline, Outdent, Indent.
    static void (*const commands[5])(QWidget *) = {subFormatBold, subFormatItalic, subFormatUnderline, subFormatOutdent,
                                                   subFormatIndent};
    for (size_t i = 0; i < items.size(); ++i)
        if (id != 0 && id == items[i])
            commands[i](gActiveControl);
}

QWidget *frm_pet_detail::tabFocusControl(int tab) const
{
    switch (tab) {
    case 2: return DBCbopet[0];
    case 3:
    case 4:
    case 5:
    case 6: return m_tabs[size_t(tab)]->focus;
    default: return nullptr;
    }
}

void frm_pet_detail::tbsPet_Click()
{
    const int tab = tbsPet->SelectedIndex();
    HelpContextID = 2501 + tab;
    if (isVisible())
        if (QWidget *first = tabFocusControl(tab))
            first->setFocus();
}

void frm_pet_detail::subNextTab()
{
    const int count = tbsPet->tabCount();
    if (count > 0)
        tbsPet->setSelectedIndex(tbsPet->SelectedIndex() % count + 1);
}

void frm_pet_detail::subShowHelp() { funHelp(this, 2, HelpContextID); }

void frm_pet_detail::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QWidget *first = tabFocusControl(tbsPet->SelectedIndex());
    (first ? first : txtPet[0])->setFocus();
}

bool frm_pet_detail::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPet[3] && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        cmdPet_dob_Click();
        return true;
    }
    if (watched == ImagePicture && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        if (gControls)
            if (CtDropMenu *menu = gControls->ctDropMenuContext->menu(3))
                menu->popUp(this);
        return true;
    }
    if (event->type() == QEvent::Show) {
        if (watched == frmPet[3])
            readPickList(3);
        else if (watched == frmPet[4])
            readPickList(4);
    }
    if (watched == frmPet[1] && event->type() == QEvent::Resize) {
        if (auto *fields = frmPet[1]->findChild<QWidget *>(QStringLiteral("detailsFields")))
            fields->setGeometry(0, 0, kFieldColumnWidth, frmPet[1]->height());
    }
    return QDialog::eventFilter(watched, event);
}

bool frm_pet_detail::closing()
{
    if (rowDeletedAlready() || m_dropped) {
        for (int tab = 3; tab <= 6; ++tab)
            recordsOf(tab)->cancelUpdate();
        return true;
    }
    for (int tab = 3; tab <= 6; ++tab) {
        DataControl *x = recordsOf(tab);
        if (!x->dataChanged())
            continue;
        if (tab == 3 && !personNamed(DBCbovaccine_0, 3, QStringLiteral("Done by")))
            return false;
        if (!x->update()) {
            const db::DbError &e = x->lastError();
            ui::errorReport(e.number, e.description, QStringLiteral("frm_pet_detail"));
            tbsPet->setSelectedIndex(tab);
            return false;
        }
    }
    return true;
}
