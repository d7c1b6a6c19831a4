#pragma once
// The exit's backup prompt: back up now, exit without (the count of exits
// starts again), or help; the exit goes on once it is closed.

#include <QDialog>

class QLabel;
class QPushButton;

class frm_backup : public QDialog {
    Q_OBJECT
public:
    explicit frm_backup(QWidget *parent = nullptr);

    QLabel *lblBackup[2] = {};
    // 0 Backup, 1 Exit, 2 Help; each shows its picture.
    QPushButton *cmdBackup[3] = {};

    void cmdBackup_Click(int index);
};

namespace backup_prompt {
// Shows the prompt modally over `form` until it is closed.
void subShowBackupPromptBox(QWidget *form);
} // namespace backup_prompt
