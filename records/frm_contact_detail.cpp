#include "records/frm_contact_detail.h"
#include "core/codes.h"

#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/system.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "records/contact_handler.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// Menu bar items, counted with their separators.
// Toolbar buttons, counted with their separators.

constexpr int kHelpContext = 3502;

// The bound text boxes: index, field, caption; the multi-line ones are marked.
struct Field {
    int index;
    const char *field;
    const char *caption;
    bool multiLine;
};
const Field kFields[] = {
    {0, "contact_name", "Name:", false},   {2, "contact_address", "Address:", true},
    {3, "contact_city", "City:", false},   {4, "contact_state", "State:", false},
    {5, "contact_zip", "Zip:", false},     {6, "contact_country", "Country:", false},
    {7, "contact_email", "Email:", false}, {8, "contact_www", "Website:", false},
    {9, "contact_ph_1", "Ph 1:", false},   {10, "contact_ph_2", "Ph 2:", false},
    {11, "contact_ph_3", "Ph 3:", false},  {13, "contact_directions", "Directions:", true},
    {12, "contact_notes", "Notes:", true},
};

QString indexed(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

QPushButton *smallButton(const QString &name, const QString &tip, const QIcon &icon, QWidget *parent)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setIcon(icon);
    if (icon.isNull())
        b->setText(QStringLiteral("..."));
    b->setFixedWidth(28);
    // Enter in a field never presses a button of the window.
    b->setAutoDefault(false);
    return b;
}

} // namespace

frm_contact_detail::frm_contact_detail(QWidget *parent) : DetailWindow(parent)
{
    setObjectName(QStringLiteral("frm_contact_detail"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildBars();
    outer->addWidget(ctToolBar_Menubar);
    outer->addWidget(ctToolbar_Toolbar);
    auto *body = new QWidget(this);
    outer->addWidget(body, 1);
    buildFields(body);

    for (const Field &f : kFields)
        DataDetail->bind(txtcontact[size_t(f.index)], QLatin1String(f.field));
    for (int n = 1; n <= 3; ++n)
        DataDetail->bind(lblcontact[size_t(n)], QStringLiteral("contact_ph_%1_type").arg(n));

    connect(ctToolBar_Menubar, &CtToolBar::itemClick, this, &frm_contact_detail::ctToolBar_Menubar_ItemClick);
    connect(ctToolbar_Toolbar, &CtToolBar::itemClick, this, &frm_contact_detail::ctToolbar_Toolbar_ItemClick);
    for (int n = 1; n <= 3; ++n)
        connect(cmdcontact_ph_menu[size_t(n - 1)], &QPushButton::clicked, this, [this, n] { cmdPhoneMenu_Click(n); });
    connect(cmdEmail, &QPushButton::clicked, this, &frm_contact_detail::cmdEmail_Click);
    connect(cmdWWW, &QPushButton::clicked, this, &frm_contact_detail::cmdWWW_Click);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { funHelp(this, 2, kHelpContext); });

    // The buttons register too, so that the edit items go off while one has the focus.
    QList<QWidget *> watched;
    for (QWidget *w : txtcontact)
        if (w)
            watched << w;
    for (QPushButton *b : cmdcontact_ph_menu)
        watched << b;
    watched << cmdEmail << cmdWWW;
    subWatchFocus(watched, [this] { subSetLocalMenus(); });

    m_localItems.menuBar = ctToolBar_Menubar;
    m_localItems.editItems = menuItems.editItems();

    // Load: the row comes from the data file.
    DataDetail->setDatabaseName(gDataDBPath);
    resize(520, 560);
}

frm_contact_detail::~frm_contact_detail() = default;

// ---------------------------------------------------------------- building

void frm_contact_detail::buildBars()
{
    ctToolBar_Menubar = funRecordMenuBar(this, RecordMenuKeys::Plain, menuItems);
    menuItems.help = ctToolBar_Menubar->addItem(QStringLiteral("&Help"), {}, {}, CtToolBar::MenuTitle);
    ctToolbar_Toolbar = funRecordToolBar(this, toolItems);
    ctToolbar_Toolbar->addSeparator();
    toolItems.help = ctToolbar_Toolbar->addItem(QStringLiteral("Help"), QStringLiteral("Help"), storeIcon(30));
}

void frm_contact_detail::buildFields(QWidget *body)
{
    for (const Field &f : kFields) {
        QWidget *box;
        if (f.multiLine) {
            auto *plain = new QPlainTextEdit(body);
            plain->setTabChangesFocus(true);
            plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            box = plain;
        } else {
            box = new QLineEdit(body);
        }
        box->setObjectName(indexed("txtcontact", f.index));
        txtcontact[size_t(f.index)] = box;
    }
    static const char *const kFixed[6] = {"Ph 1:", nullptr, nullptr, nullptr, "Ph 2:", "Ph 3:"};
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(kFixed[i] ? QString::fromLatin1(kFixed[i]) : QString(), body);
        label->setObjectName(indexed("lblcontact", i));
        lblcontact[size_t(i)] = label;
    }
    for (int n = 1; n <= 3; ++n) {
        lblcontact[size_t(n)]->setMinimumWidth(70);
        lblcontact[size_t(n)]->setFrameShape(QFrame::StyledPanel);
        cmdcontact_ph_menu[size_t(n - 1)] =
            smallButton(QStringLiteral("cmdcontact_ph_%1_menu").arg(n),
                        QStringLiteral("Click to select phone number type..."), QIcon(), body);
    }
    cmdEmail = smallButton(QStringLiteral("cmdEmail"), QStringLiteral("Send Email to contact..."), QIcon(), body);
    cmdEmail->setText(QStringLiteral("@"));
    cmdWWW = smallButton(QStringLiteral("cmdWWW"), QStringLiteral("Go to website..."), storeIcon(23), body);

    ImageMain = new QLabel(body);
    ImageMain->setObjectName(QStringLiteral("ImageMain"));
    ImageMain->setFixedSize(32, 32);

    auto *row = new QHBoxLayout(body);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(12);
    row->addWidget(ImageMain, 0, Qt::AlignTop);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    row->addLayout(grid, 1);

    auto caption = [body](int index) {
        for (const Field &f : kFields)
            if (f.index == index)
                return new QLabel(QString::fromLatin1(f.caption), body);
        return new QLabel(body);
    };
    auto besides = [body](QWidget *field, QWidget *button) {
        auto *h = new QHBoxLayout;
        h->setSpacing(4);
        h->addWidget(field, 1);
        h->addWidget(button);
        return h;
    };
    int r = 0;
    grid->addWidget(caption(0), r, 0);
    grid->addWidget(txtcontact[0], r++, 1, 1, 5);
    grid->addWidget(caption(2), r, 0, Qt::AlignTop);
    txtcontact[2]->setFixedHeight(54);
    grid->addWidget(txtcontact[2], r++, 1, 1, 5);
    grid->addWidget(caption(3), r, 0);
    grid->addWidget(txtcontact[3], r, 1);
    grid->addWidget(caption(4), r, 2);
    txtcontact[4]->setFixedWidth(36);
    grid->addWidget(txtcontact[4], r, 3);
    grid->addWidget(caption(5), r, 4);
    txtcontact[5]->setFixedWidth(90);
    grid->addWidget(txtcontact[5], r++, 5);
    grid->addWidget(caption(6), r, 0);
    grid->addWidget(txtcontact[6], r++, 1, 1, 5);
    grid->addWidget(caption(7), r, 0);
    grid->addLayout(besides(txtcontact[7], cmdEmail), r++, 1, 1, 5);
    grid->addWidget(caption(8), r, 0);
    grid->addLayout(besides(txtcontact[8], cmdWWW), r++, 1, 1, 5);

    auto *phones = new QGroupBox(QStringLiteral("Phone Numbers"), body);
    phones->setObjectName(QStringLiteral("framePhones"));
    auto *phoneGrid = new QGridLayout(phones);
    static const int kCaption[3] = {0, 4, 5};
    for (int n = 1; n <= 3; ++n) {
        phoneGrid->addWidget(lblcontact[size_t(kCaption[n - 1])], n - 1, 0);
        phoneGrid->addWidget(lblcontact[size_t(n)], n - 1, 1);
        phoneGrid->addWidget(cmdcontact_ph_menu[size_t(n - 1)], n - 1, 2);
        phoneGrid->addWidget(txtcontact[size_t(8 + n)], n - 1, 3);
    }
    phoneGrid->setColumnStretch(3, 1);
    grid->addWidget(phones, r++, 0, 1, 6);

    grid->addWidget(caption(13), r, 0, Qt::AlignTop);
    grid->addWidget(txtcontact[13], r++, 1, 1, 5);
    grid->addWidget(caption(12), r, 0, Qt::AlignTop);
    grid->addWidget(txtcontact[12], r, 1, 1, 5);
    grid->setRowStretch(r - 1, 1);
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(1, 1);

    // Tab goes through the boxes in the order of the form, each button right
    // after the box it belongs to, and a phone type's button before its number.
    const QList<QWidget *> order{txtcontact[0],         txtcontact[2],  txtcontact[3],         txtcontact[4],
                                 txtcontact[5],         txtcontact[6],  txtcontact[7],         cmdEmail,
                                 txtcontact[8],         cmdWWW,         cmdcontact_ph_menu[0], txtcontact[9],
                                 cmdcontact_ph_menu[1], txtcontact[10], cmdcontact_ph_menu[2], txtcontact[11],
                                 txtcontact[13],        txtcontact[12]};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------- the row

long frm_contact_detail::contactId() const
{
    return long(DataDetail->field(QStringLiteral("contact_id")).toLongLong());
}

void frm_contact_detail::subNewContact()
{
    static const char *const kTypes[3] = {"Home", "Work", "Fax"};
    for (int n = 1; n <= 3; ++n)
        DataDetail->setField(QStringLiteral("contact_ph_%1_type").arg(n), QString::fromLatin1(kTypes[n - 1]));
    Form_Activate();
}

void frm_contact_detail::Form_Activate()
{
    // A new person is not in the file yet: there is nothing to delete.
    const bool adding = DataDetail->editMode() == DataControl::EditAdd;
    ctToolBar_Menubar->setItemEnabled(menuItems.del, !adding);
    ctToolbar_Toolbar->setItemEnabled(toolItems.del, !adding);
    // The person on screen, once it is in the file; a new one has no id yet.
    if (!rowDeletedAlready())
        setSavedRecordID(adding ? 0 : contactId());
}

bool frm_contact_detail::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        Form_Activate();
    return QDialog::event(e);
}

QString frm_contact_detail::rowTitle() const
{
    return contact_handler::funContactListName(DataDetail->field(QStringLiteral("contact_name")));
}

bool frm_contact_detail::checkFields() { return ::funContactHandler(this, ActionValidate, 0, QString()); }

bool frm_contact_detail::rowNotWritten(bool adding)
{
    // "Save Changes?" was answered No: the new row went with the changes, so
    // the window starts a fresh one.
    if (adding) {
        DataDetail->addNew();
        subNewContact();
    }
    return true;
}

bool frm_contact_detail::deleteRow() { return ::funContactHandler(this, ActionDeleteBound, contactId(), rowTitle()); }

void frm_contact_detail::subPrint()
{
    subSave(true, false);
    ::funContactHandler(this, ActionPrint, contactId(), QString());
}

void frm_contact_detail::openStored(const char *field)
{
    // The stored address, never the text in the box: what is opened is what
    // the book holds. A new person has nothing stored yet.
    if (DataDetail->editMode() == DataControl::EditAdd)
        return;
    const QVariant stored = DataDetail->field(QLatin1String(field));
    if (stored.isNull())
        return;
    ::funContactHandler(this, ActionMailTo, contactId(), stored.toString());
}

void frm_contact_detail::cmdEmail_Click() { openStored("contact_email"); }

void frm_contact_detail::cmdWWW_Click() { openStored("contact_www"); }

void frm_contact_detail::cmdPhoneMenu_Click(int line)
{
    if (!gControls)
        return;
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(0);
    if (!menu)
        return;
    menu->setTag(QString::number(line));
    menu->popUp(this);
}

// ---------------------------------------------------------------- commands

void frm_contact_detail::subSetLocalMenus() { ::subSetLocalMenus(this, m_localItems); }

void frm_contact_detail::subUpdateFieldButtons(QWidget *ctl) { ::subUpdateFieldButtons(m_localItems, ctl); }

void frm_contact_detail::ctToolBar_Menubar_ItemClick(int id)
{
    const RecordMenuItems &m = menuItems;
    if (!recordMenuItem(m, id, kHelpContext))
        funEditMenuItem(this, m, id);
}

void frm_contact_detail::ctToolbar_Toolbar_ItemClick(int id)
{
    const RecordToolItems &t = toolItems;
    recordToolItem(t, id, kHelpContext);
}

// ---------------------------------------------------------------- writing and closing

void frm_contact_detail::changesDropped(int)
{
    // Nothing of this window is in the file for a caller to point at.
    setSavedRecordID(0);
}

bool frm_contact_detail::closing()
{
    // What the caller finds: the person written in this window, or none for
    // a new person that never was.
    if (rowDeletedAlready())
        setSavedRecordID(0);
    else if (DataDetail->lastModified().isValid() && DataDetail->editMode() == DataControl::EditNone)
        setSavedRecordID(contactId());
    else if (DataDetail->editMode() == DataControl::EditAdd)
        setSavedRecordID(0);
    return DetailWindow::closing();
}
