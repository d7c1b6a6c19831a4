#include "core/detail_window.h"

#include "core/edit.h"
#include "core/frm_main.h"
#include "core/system.h"
#include "platform/controls/data_control.h"
#include "platform/dialogs.h"

#include <QCloseEvent>

DetailWindow::DetailWindow(QWidget *parent) : QDialog(parent)
{
    DataDetail = new DataControl(this);
    DataDetail->setObjectName(QStringLiteral("DataDetail"));
    connect(DataDetail, &DataControl::validate, this, &DetailWindow::DataDetail_Validate);
}

DetailWindow::~DetailWindow() = default;

bool DetailWindow::hasChangesToSave() const
{
    return DataDetail->editMode() != DataControl::EditNone || DataDetail->dataChanged();
}

bool DetailWindow::rowNotWritten(bool) { return true; }

void DetailWindow::changesDropped(int) {}

bool DetailWindow::closing()
{
    subSetStatusText(QString());
    return true;
}

void DetailWindow::subSave(bool ask, bool close)
{
    // A date or time still being typed is part of what is saved, or stops it.
    if (!commitTypedFields())
        return;
    if (hasChangesToSave()) {
        if (!checkFields()) {
            if (!afterFailedCheck())
                return;
        } else {
            const bool adding = DataDetail->editMode() == DataControl::EditAdd;
            mAskToSave = ask;
            m_answeredNo = false;
            if (!DataDetail->update()) {
                // Nothing was written: the window stays with what the user typed.
                mAskToSave = true;
                const db::DbError &e = DataDetail->lastError();
                ui::errorReport(e.number, e.description, QStringLiteral("subSave"));
                return;
            }
            // An update that went through wrote the row, unless the user
            // chose not to save; a row written before is written again.
            if (!m_answeredNo) {
                DataDetail->setBookmark(DataDetail->lastModified());
                setWindowTitle(rowTitle());
                m_savedRecordID = rowId();
                rowWritten();
            } else if (!rowNotWritten(adding)) {
                return;
            }
        }
    }
    if (close)
        this->close();
}

void DetailWindow::subDelete()
{
    if (!deleteRow())
        return;
    m_savedRecordID = 0;
    // The row is gone: whatever was typed goes with it, nothing is asked,
    // checked or written.
    m_deleted = true;
    DataDetail->cancelUpdate();
    rowDeleted();
    close();
}

void DetailWindow::subUndo()
{
    DataDetail->updateControls();
    rowShown();
}

void DetailWindow::DataDetail_Validate(int &action, bool &save)
{
    // A row being deleted, or gone, takes its pending changes with it.
    if (m_deleted || action == DataControl::ActionDelete) {
        save = false;
        return;
    }
    if (action == DataControl::ActionUnload) {
        if (!commitTypedFields()) {
            mKeepOpen = true;
            action = DataControl::ActionCancel;
            save = false;
            return;
        }
        save = save || DataDetail->dataChanged(); // what was typed just now is a change too
    }
    if (mAskToSave && save) {
        const int answer = ui::dialogs().msgBox(this, QStringLiteral("Save Changes?"), ui::YesNo | ui::Question,
                                                QStringLiteral("Save Changes"));
        mKeepOpen = false;
        if (answer != ui::Yes) {
            save = false;
            m_answeredNo = true;
            changesDropped(action);
            return;
        }
    } else {
        mAskToSave = true;
    }
    if (!save)
        return;
    aboutToWrite();
    if (action == DataControl::ActionUnload) {
        if (!checkFields()) {
            mKeepOpen = true;
            action = DataControl::ActionCancel;
        } else {
            mKeepOpen = false;
        }
    }
}

void DetailWindow::closeEvent(QCloseEvent *e)
{
    // The data control has had its say (the row checked and written at
    // closing); a failed check keeps the window once.
    if (mKeepOpen) {
        mKeepOpen = false;
        e->ignore();
        return;
    }
    if (!closing()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

bool DetailWindow::recordMenuItem(const RecordMenuItems &m, int id, int helpContext)
{
    if (id == m.saveClose)
        subSave(false, true);
    else if (id == m.del)
        subDelete();
    else if (id == m.print)
        subPrint();
    else if (id == m.close)
        close();
    else if (id == m.undo)
        subUndo();
    else if (id == m.help)
        funHelp(this, 2, helpContext);
    else
        return false;
    return true;
}

bool DetailWindow::recordToolItem(const RecordToolItems &t, int id, int helpContext)
{
    if (id == t.saveClose)
        subSave(false, true);
    else if (id == t.print)
        subPrint();
    else if (id == t.del)
        subDelete();
    else if (id == t.help)
        funHelp(this, 2, helpContext);
    else
        return false;
    return true;
}
