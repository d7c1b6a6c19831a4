#include "events/frm_reminder.h"

#include "platform/dates.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/system.h"
#include "core/frm_main.h"
#include "events/reminders.h"
#include "platform/clock.h"
#include "platform/controls/ct_image.h"
#include "platform/controls/ct_list.h"
#include "platform/controls/wrap_label.h"
#include "platform/db/database.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

frm_reminder::frm_reminder(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_reminder"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(CtImage(CtImage::Store::Tray).picture(0, 1));
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // The name and the due text wrap, however long they are (a pasted web
    // address has no blank to wrap at), so that the window stays on the screen.
    for (int i = 0; i < 3; ++i) {
        lblHeader[i] = i == 1 ? new QLabel(this) : new WrapLabel(this);
        lblHeader[i]->setObjectName(QStringLiteral("lblHeader(%1)").arg(i));
        lblHeader[i]->setTextFormat(Qt::PlainText);
    }
    QFont bold = lblHeader[0]->font();
    bold.setBold(true);
    lblHeader[0]->setFont(bold);

    ctList1 = new CtList(this);
    ctList1->setObjectName(QStringLiteral("ctList1"));
    ctList1->setColumns({QString(), QStringLiteral("Event"), QStringLiteral("Due")}, {28, 250});
    ctList1->setCheckBoxes(true);
    ctList1->setToolTip(QStringLiteral("Check an item to acknowledge and stop receiving reminders for that item..."));

    lblSnooze = new QLabel(QStringLiteral("Snooze these reminders for: "), this);
    lblSnooze->setObjectName(QStringLiteral("lblSnooze"));
    DBCboSnooze = new QComboBox(this);
    DBCboSnooze->setObjectName(QStringLiteral("DBCboSnooze"));
    // Only the listed choices: a typed text would name no number of minutes.
    // The first entry is no snooze, which keeps the regular interval.
    DBCboSnooze->setEditable(false);
    DBCboSnooze->addItem(QStringLiteral("(Don't snooze)"));
    m_snoozeMinutes << reminders::funGetInterval().toInt();
    lblSnooze->setBuddy(DBCboSnooze);

    cmdPrint = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdClose = new QPushButton(QStringLiteral("&Done"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // Enter belongs to the list, where it marks the current row.
    for (QPushButton *b : {cmdPrint, cmdClose}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *header = new QGridLayout;
    header->addWidget(Image1, 0, 0, 2, 1);
    header->addWidget(lblHeader[0], 0, 1, 1, 2);
    header->addWidget(lblHeader[1], 1, 1);
    header->addWidget(lblHeader[2], 1, 2);
    header->setColumnStretch(2, 1);
    header->setColumnMinimumWidth(0, 40);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblSnooze);
    bottom->addWidget(DBCboSnooze);
    bottom->addStretch(1);
    bottom->addWidget(cmdPrint);
    bottom->addWidget(cmdClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(ctList1, 1);
    layout->addLayout(bottom);
    resize(680, 360);

    connect(ctList1, &CtList::rowSelected, this, &frm_reminder::subColumns);
    connect(ctList1, &CtList::rowClick, this, &frm_reminder::subToggleItem);
    connect(ctList1, &CtList::keyPress, this, &frm_reminder::ctList1_KeyPress);
    connect(DBCboSnooze, &QComboBox::activated, this, &frm_reminder::DBCboSnooze_Change);
    connect(cmdPrint, &QPushButton::clicked, this, [this] { subPrintReminders(this); });
    connect(cmdClose, &QPushButton::clicked, this, &frm_reminder::subClose);
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { funHelp(this, 2, 501); });

    // The snooze choices, from the system file.
    if (gSystemDB) {
        if (auto rs = gSystemDB->openRecordset(
                QStringLiteral("SELECT * FROM tbl_reminder_units ORDER BY reminder_sort_order"))) {
            for (; !rs->isEOF(); rs->moveNext()) {
                DBCboSnooze->addItem(rs->field(QStringLiteral("reminder_desc")).toString());
                m_snoozeMinutes << rs->field(QStringLiteral("reminder_minutes")).toInt();
            }
        }
    }
    DBCboSnooze->setCurrentIndex(0);
    gSnoozeMinutes = QString::number(reminders::funGetInterval().toInt());
    setSnoozeShown(false);
    ctList1->setFocus();
}

frm_reminder::~frm_reminder() = default;

void frm_reminder::setSnoozeShown(bool shown)
{
    m_snoozeShown = shown;
    lblSnooze->setVisible(shown);
    DBCboSnooze->setVisible(shown);
}

void frm_reminder::subColumns(int row)
{
    lblHeader[0]->setText(ctList1->CellText(row, 2));
    lblHeader[1]->setText(QStringLiteral("Due:"));
    lblHeader[2]->setText(ctList1->CellText(row, 3));
}

void frm_reminder::subToggleItem(int row)
{
    if (row < 0 || row >= ctList1->RowCount())
        return;
    subColumns(row);
    ctList1->setCheckState(row, ctList1->CheckState(row) == 1 ? 0 : 1);
}

void frm_reminder::ctList1_KeyPress(int keyCode)
{
    if (keyCode == 13 || keyCode == 32)
        subToggleItem(ctList1->CurrentRow());
}

void frm_reminder::DBCboSnooze_Change(int index)
{
    if (index < 0 || index >= m_snoozeMinutes.size())
        return;
    gSnoozeMinutes = QString::number(m_snoozeMinutes.at(index));
}

void frm_reminder::subClose()
{
    cmdClose->setEnabled(false);
    cmdPrint->setEnabled(false);
    if (m_snoozeShown)
        reminders::subAcknowledgeReminders(this);
    else
        reminders::subAcknowledgeChecked(this);
    accept();
}

int frm_reminder::showModal()
{
    setWindowModality(m_snoozeShown ? Qt::NonModal : Qt::ApplicationModal);
    QPointer<frm_reminder> self(this);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    ctList1->setFocus();
    loop.exec(QEventLoop::DialogExec);
    return self ? self->result() : QDialog::Rejected;
}

void subPrintReminders(frm_reminder *form)
{
    if (!form)
        return;
    form->ctList1->setPrintTitle(funGetAppTitle());
    form->ctList1->setPrintSubTitle(vbFormatGeneralDate(zbclock::now()));
    if (!form->ctList1->PrintList(&funProgramPrinter()))
        ui::dialogs().msgBox(form, QStringLiteral("The reminders could not be printed."), ui::Exclamation | ui::OKOnly);
}
