#include "events/frm_event_list.h"
#include "core/codes.h"

#include "core/frm_main.h"
#include "core/hooks.h"
#include "platform/controls/ct_list.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The hidden columns that carry each row's kind and record id.
constexpr int kKindColumn = 3;
constexpr int kRecordColumn = 4;
} // namespace

frm_event_list::frm_event_list(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_event_list"));
    auto *outer = new QHBoxLayout(this);

    ctList1 = new CtList(this);
    ctList1->setObjectName(QStringLiteral("ctList1"));
    ctList1->setColumns(
        {QStringLiteral("Event"), QStringLiteral("Due"), QStringLiteral("object_type"), QStringLiteral("record_id")},
        {200, 200, 10, 10});
    // They carry each row's kind and id for Open and Delete; the user never reads them.
    ctList1->setColumnVisible(kKindColumn, false);
    ctList1->setColumnVisible(kRecordColumn, false);
    ctList1->setToolTip(QStringLiteral("Select an item to edit or delete..."));
    outer->addWidget(ctList1, 1);

    auto *buttons = new QVBoxLayout;
    struct Button {
        int index;
        const char *caption;
        const char *tip;
        bool enabled;
    };
    static const Button kButtons[] = {{0, "&New", "Add new item...", true},
                                      {1, "&Open", "Edit selected item...", false},
                                      {2, "&Delete", "Delete selected item...", false},
                                      {4, "&Close", "Close window...", true}};
    for (const Button &b : kButtons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QStringLiteral("cmdEventList(%1)").arg(b.index));
        button->setToolTip(QString::fromLatin1(b.tip));
        button->setEnabled(b.enabled);
        // Enter in the list must not press a button the user did not choose.
        button->setAutoDefault(false);
        if (b.index == 4)
            buttons->addStretch(1);
        buttons->addWidget(button);
        cmdEventList[size_t(b.index)] = button;
        const int index = b.index;
        connect(button, &QPushButton::clicked, this, [this, index] { cmdEventList_Click(index); });
    }
    outer->addLayout(buttons);

    connect(ctList1, &CtList::rowSelected, this, &frm_event_list::ctList1_RowSelected);
    connect(ctList1, &CtList::rowDblClick, this, &frm_event_list::ctList1_RowDblClick);
    resize(600, 260);
    // The list taking the focus would make its first row current, and Open
    // would act on a row the user never chose.
    cmdEventList[0]->setFocus();
}

void frm_event_list::addItemRow(const QString &name, const QString &due, int kind, long recordId, const QIcon &icon)
{
    const int row = ctList1->addRow(
        QStringList{name, due, QString::number(kind), QString::number(recordId)}.join(QLatin1Char(';')));
    const int picture = ctList1->addPicture(icon);
    if (picture != 0)
        ctList1->setCellIcon(row, 1, picture);
}

bool frm_event_list::selectedItem(int *kind, long *recordId) const
{
    const int row = ctList1->CurrentRow();
    if (row < 0)
        return false;
    *kind = ctList1->CellText(row, kKindColumn).toInt();
    *recordId = ctList1->CellText(row, kRecordColumn).toLong();
    return true;
}

void frm_event_list::ctList1_RowSelected(int row)
{
    if (row < 0)
        return;
    cmdEventList[1]->setEnabled(true);
    cmdEventList[2]->setEnabled(ctList1->CellText(row, kKindColumn).toInt() == 8);
}

void frm_event_list::openItem(int kind, long recordId)
{
    QWidget *main = gMain ? static_cast<QWidget *>(gMain) : parentWidget();
    switch (kind) {
    case 8: funEventHandler(main, ActionEdit, recordId); break;
    case 6: funPetHandler(main, ActionEdit, recordId, QString(), 3); break;
    case 9: funPetHandler(main, ActionEdit, recordId, QString(), 4); break;
    default: funPetHandler(main, ActionEdit, recordId, QString(), 1); break;
    }
}

void frm_event_list::cmdEventList_Click(int index)
{
    QWidget *main = gMain ? static_cast<QWidget *>(gMain) : parentWidget();
    int kind = 0;
    long recordId = 0;
    const bool selected = (index == 1 || index == 2) && selectedItem(&kind, &recordId);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    switch (index) {
    case 0: funEventHandler(main, ActionAdd, 0); break;
    case 1:
        if (selected)
            openItem(kind, recordId);
        break;
    case 2:
        if (selected && kind == 8)
            funEventHandler(main, ActionDelete, recordId);
        break;
    default: break;
    }
    accept();
}

void frm_event_list::ctList1_RowDblClick(int row)
{
    if (row < 0)
        return;
    ctList1->setCurrentRow(row);
    cmdEventList_Click(1);
}
