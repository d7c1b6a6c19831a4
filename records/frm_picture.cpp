#include "records/frm_picture.h"
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
#include "core/system.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/db_combo.h"
#include "platform/controls/vb_image.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kHelpContext = 2001;
// The fields stand left of the picture's box.
constexpr int kFieldsWidth = 272;

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QString indexed(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

} // namespace

frm_picture::frm_picture(QWidget *parent) : DetailWindow(parent)
{
    setObjectName(QStringLiteral("frm_picture"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    DataPetLookup = named(new DataControl(this), QStringLiteral("DataPetLookup"));
    DataCategoryLookup = named(new DataControl(this), QStringLiteral("DataCategoryLookup"));

    buildBars();
    auto *body = new QWidget(this);
    buildFields(body);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setMenuBar(ctToolBar_Menubar);
    outer->addWidget(ctToolbar_Toolbar);
    outer->addWidget(body, 1);

    DataDetail->bind(txtpicture[0], QStringLiteral("picture_title"));
    DataDetail->bind(txtpictureCaption, QStringLiteral("picture_description"));
    DataDetail->bind(DBCbopicture[1], QStringLiteral("picture_pet_id"));
    DataDetail->bind(DBCbopicture[0], QStringLiteral("picture_category"));
    DataDetail->bind(txtpicture[3], QStringLiteral("picture_date"));
    // The date is kept as written; one chosen in the chooser is written in the
    // user's short form, which can be longer than the column's ten characters.
    DataDetail->setMinimumLength(txtpicture[3], vbShortDateLength());
    DataDetail->bind(lblPicture, QStringLiteral("picture_filename"));

    DBCbopicture[1]->setRowSource(DataPetLookup);
    DBCbopicture[0]->setRowSource(DataCategoryLookup);
    connect(DBCbopicture[0], &DbCombo::keyPress, this,
            [this](int &key) { subAutoCompletePictureCategory(DBCbopicture[0], DataCategoryLookup, key); });
    connect(cmdPicture, &QPushButton::clicked, this, &frm_picture::cmdPicture_Click);
    connect(ctToolBar_Menubar, &CtToolBar::itemClick, this, &frm_picture::ctToolBar_Menubar_ItemClick);
    connect(ctToolbar_Toolbar, &CtToolBar::itemClick, this, &frm_picture::ctToolbar_Toolbar_ItemClick);
    ImagePicture->installEventFilter(this);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { funHelp(this, 2, kHelpContext); });

    m_localItems.menuBar = ctToolBar_Menubar;
    m_localItems.editItems = menuItems.editItems();
    subWatchFocus({txtpicture[0], txtpictureCaption, DBCbopicture[1], DBCbopicture[0], txtpicture[3]},
                  [this] { subSetLocalMenus(); });

    Form_Load();
}

frm_picture::~frm_picture() = default;

void frm_picture::buildBars()
{
    auto *bar = funRecordMenuBar(this, RecordMenuKeys::Underlined, menuItems);
    bar->addSeparator();
    subAddPictureMenu(bar, menuItems);
    menuItems.help = bar->addItem(QStringLiteral("&Help"), {}, {}, CtToolBar::MenuTitle);
    ctToolBar_Menubar = bar;

    auto *tb = funRecordToolBar(this, toolItems);
    tb->addSeparator();
    toolItems.picture = tb->addItem(QStringLiteral("Picture"), QStringLiteral("Import picture..."), storeIcon(20));
    tb->addSeparator();
    toolItems.help = tb->addItem(QStringLiteral("Help"), QStringLiteral("Help"), storeIcon(30));
    ctToolbar_Toolbar = tb;
}

void frm_picture::buildFields(QWidget *body)
{
    // The picture's box is placed in twips, as the picture routines place the
    // picture; the fields stand left of it.
    const picture_files::PictureBox box = picture_files::pictureBoxOf(this);
    const int boxLeft = VbImage::twipsToPixels(box.left);
    const int boxTop = VbImage::twipsToPixels(picture_files::kFittedTop);
    const int boxSide = VbImage::twipsToPixels(box.size);
    body->setMinimumSize(boxLeft + boxSide + 12, boxTop + boxSide + 12);

    auto *frame = new QFrame(body);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(boxLeft - 3, boxTop - 3, boxSide + 6, boxSide + 6);
    ImageMain = named(new VbImage(body), QStringLiteral("ImageMain"));
    ImageMain->setLeft(box.left);
    ImageMain->setTop(VbImage::pixelsToTwips(14));
    ImagePicture = named(new VbImage(body), QStringLiteral("ImagePicture"));
    ImagePicture->setToolTip(QStringLiteral("Right-click for the picture menu"));
    lblPicture = named(new QLabel(body), QStringLiteral("lblPicture"));
    lblPicture->hide();

    auto *fields = named(new QWidget(body), QStringLiteral("pictureFields"));
    fields->setGeometry(8, 8, kFieldsWidth, boxTop + boxSide);
    auto *form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);

    txtpicture[0] = named(new QLineEdit(fields), indexed("txtpicture", 0));
    txtpictureCaption = named(new QPlainTextEdit(fields), indexed("txtpicture", 2));
    txtpictureCaption->setTabChangesFocus(true);
    txtpictureCaption->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBCbopicture[1] = named(new DbCombo(fields), indexed("DBCbopicture", 1));
    DBCbopicture[1]->setStyle(2);
    DBCbopicture[1]->setListField(QStringLiteral("pet_name"));
    DBCbopicture[1]->setBoundColumn(QStringLiteral("pet_id"));
    DBCbopicture[0] = named(new DbCombo(fields), indexed("DBCbopicture", 0));
    DBCbopicture[0]->setStyle(0);
    DBCbopicture[0]->setListField(QStringLiteral("picture_category"));
    for (DbCombo *c : DBCbopicture) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(12);
    }
    txtpicture[3] = named(new QLineEdit(fields), indexed("txtpicture", 3));
    cmdPicture = named(new QPushButton(QStringLiteral("..."), fields), QStringLiteral("cmdPicture"));
    cmdPicture->setToolTip(QStringLiteral("Select birthday..."));
    cmdPicture->setAutoDefault(false);
    cmdPicture->setFixedWidth(28);
    lblDateFormat = named(new QLabel(fields), QStringLiteral("lblDateFormat"));

    auto *dateRow = new QWidget(fields);
    dateRow->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *h = new QHBoxLayout(dateRow);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    // Wide enough for the longest date of the user's short form.
    const int dateWidth =
        txtpicture[3]->fontMetrics().horizontalAdvance(QString(vbShortDateLength(), QLatin1Char('0')));
    txtpicture[3]->setFixedWidth(std::max(84, dateWidth + 16));
    h->addWidget(txtpicture[3]);
    h->addWidget(cmdPicture);
    h->addWidget(lblDateFormat, 1);

    form->addRow(QStringLiteral("Title:"), txtpicture[0]);
    form->addRow(QStringLiteral("Caption:"), txtpictureCaption);
    form->addRow(QStringLiteral("Pet:"), DBCbopicture[1]);
    form->addRow(QStringLiteral("Category:"), DBCbopicture[0]);
    form->addRow(QStringLiteral("Date:"), dateRow);
    txtpictureCaption->setFixedHeight(88);

    QWidget *previous = nullptr;
    for (QWidget *w : {static_cast<QWidget *>(txtpicture[0]), static_cast<QWidget *>(txtpictureCaption),
                       static_cast<QWidget *>(DBCbopicture[1]), static_cast<QWidget *>(DBCbopicture[0]),
                       static_cast<QWidget *>(txtpicture[3]), static_cast<QWidget *>(cmdPicture)}) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

void frm_picture::Form_Load()
{
    for (DataControl *x : {DataDetail, DataCategoryLookup, DataPetLookup})
        x->setDatabaseName(gDataDBPath);
    for (DataControl *lookup : {DataCategoryLookup, DataPetLookup})
        lookup->setReadOnly(true);
    DataPetLookup->setRecordSource(
        QStringLiteral("SELECT pet_id, pet_name FROM tbl_pet WHERE pet_name <> '' ORDER BY pet_name ASC"));
    DataCategoryLookup->setRecordSource(
        QStringLiteral("SELECT DISTINCT picture_category FROM tbl_picture WHERE picture_category <> '' "
                       "ORDER BY picture_category ASC"));
    DataPetLookup->refresh();
    DataCategoryLookup->refresh();

    subShowPhotoSiteItems(ctToolBar_Menubar, menuItems.photoSites);
    lblDateFormat->setText(picture_files::funGetLocaleInfo(31).toLower());
    resize(minimumSizeHint().expandedTo(QSize(520, 340)));
}

long frm_picture::pictureId() const { return long(DataDetail->field(QStringLiteral("picture_id")).toLongLong()); }

QString frm_picture::titleFor(const QVariant &title)
{
    return title.isNull() ? QStringLiteral("(None)") : title.toString();
}

bool frm_picture::subShowPicture(const QString &path, int *errorNumber, QString *errorText)
{
    const picture_files::PictureBox box = picture_files::pictureBoxOf(this);
    picture_files::subResetPicture(ImagePicture);
    const bool shown = ImagePicture->loadPicture(path);
    if (!shown) {
        if (errorNumber)
            *errorNumber = ImagePicture->lastError();
        if (errorText)
            *errorText = ImagePicture->lastErrorText();
        // The stand-in picture; the record keeps its file name until the user
        // imports or clears a picture.
        ImagePicture->loadPicture(gDefaultPicture);
    }
    picture_files::subSizePicture(ImagePicture, box.size, box.left, false);
    return shown;
}

// ---------------------------------------------------------------- states

void frm_picture::Form_Activate()
{
    // A new picture is not in the file yet: there is nothing to delete.
    const bool stored = DataDetail->editMode() != DataControl::EditAdd;
    ctToolBar_Menubar->setItemEnabled(menuItems.del, stored);
    ctToolbar_Toolbar->setItemEnabled(toolItems.del, stored);
}

bool frm_picture::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        Form_Activate();
    return QDialog::event(e);
}

void frm_picture::subSetLocalMenus() { ::subSetLocalMenus(this, m_localItems); }

// ---------------------------------------------------------------- commands

QString frm_picture::rowTitle() const { return titleFor(DataDetail->field(QStringLiteral("picture_title"))); }

void frm_picture::rowWritten()
{
    m_saved = DataDetail->lastModified();
    DataDetail->edit();
    Form_Activate();
}

bool frm_picture::rowNotWritten(bool)
{
    // "Save Changes?" was answered No for a new picture: start again on a new row.
    if (DataDetail->editMode() == DataControl::EditNone && DataDetail->absolutePosition() < 0)
        DataDetail->addNew();
    return true;
}

bool frm_picture::deleteRow()
{
    const QVariant title = DataDetail->field(QStringLiteral("picture_title"));
    const QString named = title.isNull() || title.toString().isEmpty() ? QStringLiteral("Untitled") : title.toString();
    return ::funPictureHandler(this, ActionDeleteBound, pictureId(), named, gListviewPicture);
}

void frm_picture::subPrint() { ::funPictureHandler(this, ActionPrint, pictureId(), QString(), gListviewPicture); }

void frm_picture::rowShown()
{
    const QString name = lblPicture->text();
    subShowPicture(name.isEmpty() ? gDefaultPicture : gPicturePath + name);
}

void frm_picture::cmdPicture_Click()
{
    if (const auto day = funShowDateChooser(this, QStringLiteral("Select date"), txtpicture[3]->text()))
        txtpicture[3]->setText(day->toString(vbShortDateFormat()));
    txtpicture[3]->setFocus();
}

void frm_picture::ctToolBar_Menubar_ItemClick(int id)
{
    const PictureWindowMenuItems &m = menuItems;
    if (recordMenuItem(m, id, kHelpContext))
        return;
    if (!funEditMenuItem(this, m, id))
        funPictureMenuItem(this, ctToolBar_Menubar, m, id, lblPicture->text());
}

void frm_picture::ctToolbar_Toolbar_ItemClick(int id)
{
    const PictureWindowToolItems &t = toolItems;
    if (recordToolItem(t, id, kHelpContext))
        return;
    if (id == t.picture)
        ::subImportPicture(this);
}

// ---------------------------------------------------------------- writing and closing

bool frm_picture::closing()
{
    // A write the data control made at closing ("Save Changes?" answered Yes)
    // leaves the picture's id as a save does.
    if (!rowDeletedAlready() && DataDetail->lastModified().isValid() && DataDetail->lastModified() != m_saved)
        setSavedRecordID(pictureId());
    return DetailWindow::closing();
}

bool frm_picture::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == ImagePicture && e->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(e)->button() == Qt::RightButton) {
        if (gControls)
            if (CtDropMenu *menu = gControls->ctDropMenuContext->menu(3))
                menu->popUp(this);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
