#include "core/edit.h"
#include "core/frm_controls.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/system.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/rich_text_box.h"
#include "platform/controls/vb_picture_box.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

QClipboard *clipboard() { return QGuiApplication::clipboard(); }

// ---- Text of the text-like kinds ----

bool readOnly(QWidget *c)
{
    if (auto *le = qobject_cast<QLineEdit *>(c))
        return le->isReadOnly();
    if (auto *pe = qobject_cast<QPlainTextEdit *>(c))
        return pe->isReadOnly();
    if (auto *te = qobject_cast<QTextEdit *>(c))
        return te->isReadOnly();
    return false;
}

QString selectedText(QWidget *c)
{
    if (auto *le = qobject_cast<QLineEdit *>(c))
        return le->selectedText();
    if (auto *pe = qobject_cast<QPlainTextEdit *>(c))
        return pe->textCursor().selection().toPlainText();
    if (auto *te = qobject_cast<QTextEdit *>(c))
        return te->textCursor().selection().toPlainText();
    return {};
}

void removeSelection(QWidget *c)
{
    if (readOnly(c))
        return;
    if (auto *le = qobject_cast<QLineEdit *>(c)) {
        if (le->hasSelectedText())
            le->del();
    } else if (auto *pe = qobject_cast<QPlainTextEdit *>(c)) {
        pe->textCursor().removeSelectedText();
    } else if (auto *te = qobject_cast<QTextEdit *>(c)) {
        te->textCursor().removeSelectedText();
    }
}

void pasteText(QWidget *c)
{
    if (readOnly(c))
        return;
    // The widgets' own paste replaces the selection and keeps to the box's
    // length and, in a rich text box, to the clipboard's formatting.
    if (auto *le = qobject_cast<QLineEdit *>(c))
        le->paste();
    else if (auto *pe = qobject_cast<QPlainTextEdit *>(c))
        pe->paste();
    else if (auto *te = qobject_cast<QTextEdit *>(c))
        te->paste();
}

void selectAllText(QWidget *c)
{
    if (auto *le = qobject_cast<QLineEdit *>(c))
        le->selectAll();
    else if (auto *pe = qobject_cast<QPlainTextEdit *>(c))
        pe->selectAll();
    else if (auto *te = qobject_cast<QTextEdit *>(c))
        te->selectAll();
}

// A combo box's whole text; a list-only combo box takes a text only when one
// of its entries has it.
void setComboText(QComboBox *cb, const QString &text)
{
    if (cb->isEditable()) {
        cb->setEditText(text);
        return;
    }
    if (text.isEmpty())
        cb->setCurrentIndex(-1);
    else if (const int i = cb->findText(text, Qt::MatchFixedString); i >= 0)
        cb->setCurrentIndex(i);
}

// ---- Pictures ----

QPixmap pictureOf(QWidget *c)
{
    if (auto *l = qobject_cast<QLabel *>(c))
        return l->pixmap();
    return {};
}

void setPictureOf(QWidget *c, const QPixmap &p)
{
    if (auto *pb = qobject_cast<VbPictureBox *>(c))
        pb->setPicture(p);
    else if (auto *l = qobject_cast<QLabel *>(c))
        p.isNull() ? l->clear() : l->setPixmap(p);
}

// ---- List boxes ----

void removeListEntry(QListWidget *lw)
{
    const int row = lw->currentRow();
    if (row >= 0)
        delete lw->takeItem(row);
}

VbRichTextBox *richBox(QWidget *c) { return qobject_cast<VbRichTextBox *>(c); }

// Gives the focus back to a control that can hold it (an image never does).
void focus(QWidget *c)
{
    if (c->focusPolicy() != Qt::NoFocus)
        c->setFocus();
}

// The focus-in watcher of subWatchFocus, one for each watched control.
class FocusWatcher : public QObject {
public:
    FocusWatcher(QWidget *control, std::function<void()> onFocus) : QObject(control), m_onFocus(std::move(onFocus))
    {
        control->installEventFilter(this);
        for (QWidget *part : control->findChildren<QWidget *>())
            part->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && m_onFocus)
            m_onFocus();
        return false;
    }

private:
    std::function<void()> m_onFocus;
};

} // namespace

ControlKind funControlKind(const QWidget *c)
{
    if (!c)
        return ControlKind::None;
    if (qobject_cast<const VbRichTextBox *>(c))
        return ControlKind::RichTextBox;
    if (qobject_cast<const QLineEdit *>(c) || qobject_cast<const QPlainTextEdit *>(c)
        || qobject_cast<const QTextEdit *>(c))
        return ControlKind::TextBox;
    if (qobject_cast<const QComboBox *>(c))
        return ControlKind::ComboBox;
    if (qobject_cast<const VbPictureBox *>(c))
        return ControlKind::PictureBox;
    if (qobject_cast<const QLabel *>(c))
        return ControlKind::Image;
    if (qobject_cast<const QListWidget *>(c))
        return ControlKind::ListBox;
    return ControlKind::Other;
}

QWidget *funControlOf(QWidget *widget)
{
    for (QWidget *w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)
            || (qobject_cast<QAbstractItemView *>(w) && !qobject_cast<QListWidget *>(w)))
            return w;
    return widget;
}

void subEditCopy(QWidget *, QWidget *c)
{
    if (!c)
        return;
    clipboard()->clear();
    switch (funControlKind(c)) {
    case ControlKind::TextBox:
        if (const QString t = selectedText(c); !t.isEmpty())
            clipboard()->setText(t);
        break;
    case ControlKind::RichTextBox:
        richBox(c)->copy(); // RTF, HTML and plain text of the selection
        break;
    case ControlKind::ComboBox:
        if (const QString t = static_cast<QComboBox *>(c)->currentText(); !t.isEmpty())
            clipboard()->setText(t);
        break;
    case ControlKind::PictureBox:
        if (const QPixmap p = pictureOf(c); !p.isNull())
            clipboard()->setPixmap(p);
        break;
    case ControlKind::ListBox:
        if (QListWidgetItem *item = static_cast<QListWidget *>(c)->currentItem())
            clipboard()->setText(item->text());
        break;
    default: break;
    }
    focus(c);
}

void subEditDelete(QWidget *c)
{
    if (!c)
        return;
    switch (funControlKind(c)) {
    case ControlKind::TextBox:
    case ControlKind::RichTextBox: removeSelection(c); break;
    case ControlKind::ComboBox: setComboText(static_cast<QComboBox *>(c), QString()); break;
    case ControlKind::PictureBox: setPictureOf(c, QPixmap()); break;
    case ControlKind::ListBox: removeListEntry(static_cast<QListWidget *>(c)); break;
    default: break;
    }
    focus(c);
}

void subEditCut(QWidget *form, QWidget *c)
{
    if (!c)
        return;
    subEditCopy(form, c);
    if (funControlKind(c) != ControlKind::Image)
        subEditDelete(c);
}

void subEditPaste(QWidget *c)
{
    if (!c)
        return;
    const ControlKind kind = funControlKind(c);
    switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::RichTextBox: pasteText(c); break;
    case ControlKind::ComboBox: setComboText(static_cast<QComboBox *>(c), clipboard()->text()); break;
    case ControlKind::PictureBox:
    case ControlKind::Image:
        // A clipboard without a picture leaves the picture as it is.
        if (const QPixmap p = clipboard()->pixmap(); !p.isNull())
            setPictureOf(c, p);
        break;
    case ControlKind::ListBox:
        if (const QString t = clipboard()->text(); !t.isEmpty())
            static_cast<QListWidget *>(c)->addItem(t);
        break;
    default: return;
    }
    if (kind != ControlKind::PictureBox && kind != ControlKind::Image)
        focus(c);
}

void subEditSelectAll(QWidget *c)
{
    switch (funControlKind(c)) {
    case ControlKind::TextBox:
    case ControlKind::RichTextBox:
        c->setFocus();
        selectAllText(c);
        break;
    case ControlKind::ComboBox:
        c->setFocus();
        if (QLineEdit *le = static_cast<QComboBox *>(c)->lineEdit())
            le->selectAll();
        break;
    default: break;
    }
}

// A format command: on a rich text box only, which then has the focus.
template <typename Command> void onRichBox(QWidget *c, Command command)
{
    if (VbRichTextBox *box = richBox(c)) {
        command(box);
        box->setFocus();
    }
}

void subFormatBold(QWidget *c)
{
    onRichBox(c, [](VbRichTextBox *b) { b->setSelBold(!b->selBold()); });
}

void subFormatItalic(QWidget *c)
{
    onRichBox(c, [](VbRichTextBox *b) { b->setSelItalic(!b->selItalic()); });
}

void subFormatUnderline(QWidget *c)
{
    onRichBox(c, [](VbRichTextBox *b) { b->setSelUnderline(!b->selUnderline()); });
}

void subFormatIndent(QWidget *c)
{
    onRichBox(c, [](VbRichTextBox *b) { b->shiftSelIndent(250); });
}

void subFormatOutdent(QWidget *c)
{
    onRichBox(c, [](VbRichTextBox *b) { b->shiftSelIndent(-250); });
}

namespace {

QPixmap drawFormatPicture(FormatCommand command, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x30, 0x30, 0x38);
    const qreal unit = side / 16.0;
    if (command == FormatCommand::Outdent || command == FormatCommand::Indent) {
        // Four lines of text, the middle two moved, and an arrow the way they go.
        p.setPen(QPen(ink, qMax<qreal>(1.0, unit), Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 4; ++i) {
            const qreal y = (2.5 + i * 3.5) * unit;
            const bool moved = i == 1 || i == 2;
            p.drawLine(QPointF((moved ? 7 : 1) * unit, y), QPointF(15 * unit, y));
        }
        QPainterPath arrow;
        const qreal mid = 7.75 * unit;
        if (command == FormatCommand::Indent) {
            arrow.moveTo(1 * unit, mid - 2.5 * unit);
            arrow.lineTo(5 * unit, mid);
            arrow.lineTo(1 * unit, mid + 2.5 * unit);
        } else {
            arrow.moveTo(5 * unit, mid - 2.5 * unit);
            arrow.lineTo(1 * unit, mid);
            arrow.lineTo(5 * unit, mid + 2.5 * unit);
        }
        arrow.closeSubpath();
        p.fillPath(arrow, QColor(0x2a, 0x6f, 0xb8));
        return pixmap;
    }
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(int(13 * unit));
    font.setBold(command == FormatCommand::Bold);
    font.setItalic(command == FormatCommand::Italic);
    font.setUnderline(command == FormatCommand::Underline);
    p.setFont(font);
    p.setPen(ink);
    const QString letter = command == FormatCommand::Bold     ? QStringLiteral("B")
                           : command == FormatCommand::Italic ? QStringLiteral("I")
                                                              : QStringLiteral("U");
    p.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, letter);
    return pixmap;
}

// Drawn once a process: the letters load the serif font's bold and italic
// faces, which the first detail window would otherwise wait for. The shared
// pixmap cache goes with the application, so nothing outlives it.
QPixmap formatPicture(FormatCommand command, int side)
{
    const QString key = QStringLiteral("zb-format-%1-%2").arg(int(command)).arg(side);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = drawFormatPicture(command, side);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

} // namespace

QIcon funFormatIcon(FormatCommand command)
{
    QIcon icon;
    icon.addPixmap(formatPicture(command, 32));
    icon.addPixmap(formatPicture(command, 16));
    return icon;
}

void subPrepareFormatIcons()
{
    for (FormatCommand c : {FormatCommand::Bold, FormatCommand::Italic, FormatCommand::Underline,
                            FormatCommand::Outdent, FormatCommand::Indent})
        (void)funFormatIcon(c);
}

void subUpdateFieldButtons(const LocalMenuItems &items, QWidget *control)
{
    if (!control)
        return;
    const ControlKind kind = funControlKind(control);
    const bool edit = kind == ControlKind::TextBox || kind == ControlKind::RichTextBox || kind == ControlKind::ComboBox
                      || kind == ControlKind::PictureBox;
    const bool format = kind == ControlKind::RichTextBox;
    if (items.menuBar) {
        for (int id : items.editItems)
            items.menuBar->setItemEnabled(id, edit);
        for (int id : items.formatItems)
            items.menuBar->setItemEnabled(id, format);
    }
    if (items.toolBar)
        for (int id : items.formatButtons)
            items.toolBar->setItemEnabled(id, format);
}

void subSetLocalMenus(QWidget *window, const LocalMenuItems &items)
{
    gActiveControl = window ? funControlOf(window->focusWidget()) : nullptr;
    subUpdateFieldButtons(items, gActiveControl);
}

bool funEditMenuItem(QWidget *form, const RecordMenuItems &items, int id)
{
    QWidget *c = gActiveControl;
    if (id == 0)
        return false;
    if (id == items.cut)
        subEditCut(form, c);
    else if (id == items.copy)
        subEditCopy(form, c);
    else if (id == items.paste)
        subEditPaste(c);
    else if (id == items.selectText)
        subEditSelectAll(c);
    else if (id == items.deleteText)
        subEditDelete(c);
    else
        return false;
    return true;
}

void subWatchFocus(const QList<QWidget *> &controls, const std::function<void()> &onFocus)
{
    for (QWidget *c : controls)
        if (c)
            new FocusWatcher(c, onFocus);
}

CtToolBar *funRecordMenuBar(QWidget *window, RecordMenuKeys keys, RecordMenuItems &items)
{
    const bool underlined = keys == RecordMenuKeys::Underlined;
    auto *bar = new CtToolBar(CtToolBar::Mode::MenuBar, window);
    bar->setObjectName(QStringLiteral("ctToolBar_Menubar"));
    const int title = CtToolBar::MenuTitle, entry = CtToolBar::MenuEntry;
    RecordMenuItems &m = items;
    m.file = bar->addItem(QStringLiteral("&File"), {}, {}, title);
    m.saveClose = bar->addItem(QStringLiteral("Save && Close"), {}, storeIcon(22), entry);
    bar->addSeparator();
    m.del = bar->addItem(QStringLiteral("&Delete"), {}, storeIcon(18), entry);
    bar->addSeparator();
    m.print = bar->addItem(underlined ? QStringLiteral("&Print") : QStringLiteral("Print"), {}, storeIcon(17), entry);
    bar->addSeparator();
    m.close = bar->addItem(QStringLiteral("&Close"), {}, {}, entry);
    m.edit = bar->addItem(QStringLiteral("&Edit"), {}, {}, title);
    m.undo = bar->addItem(QStringLiteral("Undo Changes"), {}, {}, entry);
    bar->addSeparator();
    m.cut = bar->addItem(underlined ? QStringLiteral("Cu&t") : QStringLiteral("&Cut"), {}, {}, entry);
    m.copy = bar->addItem(QStringLiteral("&Copy"), {}, {}, entry);
    m.paste = bar->addItem(underlined ? QStringLiteral("&Paste") : QStringLiteral("Paste"), {}, {}, entry);
    m.selectText = bar->addItem(QStringLiteral("&Select Text"), {}, {}, entry);
    m.deleteText = bar->addItem(QStringLiteral("&Delete Text"), {}, {}, entry);
    return bar;
}

void subAddPictureMenu(CtToolBar *bar, PictureMenuItems &items)
{
    const int entry = CtToolBar::MenuEntry;
    items.picture = bar->addItem(QStringLiteral("&Picture"), {}, {}, CtToolBar::MenuTitle);
    items.importPicture =
        bar->addItem(QStringLiteral("&Import picture"), QStringLiteral("Import picture..."), storeIcon(20), entry);
    items.clearPicture =
        bar->addItem(QStringLiteral("&Clear picture"), QStringLiteral("Clear picture..."), storeIcon(21), entry);
    items.savePicture =
        bar->addItem(QStringLiteral("Save picture"), QStringLiteral("Save picture As..."), storeIcon(22), entry);
    const QString captions[2] = {QStringLiteral("Online Photo Site 1"), QStringLiteral("Online Photo Site 2")};
    for (size_t i = 0; i < items.photoSites.size(); ++i) {
        items.photoSites[i].separator = bar->addSeparator();
        items.photoSites[i].entry =
            bar->addItem(captions[i], QStringLiteral("Go to online photo website"), storeIcon(23), entry);
    }
}

bool funPictureMenuItem(QWidget *form, CtToolBar *bar, const PictureMenuItems &items, int id, const QString &picture)
{
    if (id == 0)
        return false;
    if (id == items.importPicture)
        subImportPicture(form);
    else if (id == items.clearPicture)
        subClearPicture(form);
    else if (id == items.savePicture)
        subSavePicture(form, picture);
    else if (id == items.photoSites[0].entry || id == items.photoSites[1].entry)
        subShellOpen(form, bar->itemStoredText(id));
    else
        return false;
    return true;
}

CtToolBar *funRecordToolBar(QWidget *window, RecordToolItems &items)
{
    auto *bar = new CtToolBar(CtToolBar::Mode::ToolBar, window);
    bar->setObjectName(QStringLiteral("ctToolbar_Toolbar"));
    items.saveClose =
        bar->addItem(QStringLiteral("Save && Close"), QStringLiteral("Save record and close window"), storeIcon(22));
    bar->addSeparator();
    items.print = bar->addItem(QStringLiteral("Print"), QStringLiteral("Print"), storeIcon(17));
    bar->addSeparator();
    items.del = bar->addItem(QStringLiteral("Delete"), QStringLiteral("Delete record"), storeIcon(18));
    return bar;
}
