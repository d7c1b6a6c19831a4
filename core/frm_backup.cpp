#include "core/frm_backup.h"

#include "core/hooks.h"
#include "core/frm_controls.h"
#include "core/settings.h"
#include "core/system.h"
#include "platform/controls/ct_image.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frm_backup::frm_backup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_backup"));
    setWindowTitle(QStringLiteral("Automatic Backup"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const CtImage store;
    setWindowIcon(store.icon(0, 19));

    const QString texts[2] = {
        QStringLiteral("It is strongly recommended that you regularly backup your information in order to "
                       "minimize the chance of accidental loss of data."),
        QStringLiteral("Do you want to backup your Zorbi information now?")};
    auto *outer = new QVBoxLayout(this);
    for (int i = 0; i < 2; ++i) {
        lblBackup[i] = new QLabel(texts[i], this);
        lblBackup[i]->setObjectName(QStringLiteral("lblBackup(%1)").arg(i));
        lblBackup[i]->setWordWrap(true);
        outer->addWidget(lblBackup[i]);
    }
    outer->addSpacing(8);

    // The pictures sit on the buttons themselves.
    const QString captions[3] = {QStringLiteral("Backup"), QStringLiteral("Exit"), QStringLiteral("Help")};
    const QString tips[3] = {QStringLiteral("Backup your information now..."),
                             QStringLiteral("Exit without backing up..."), QString()};
    const int pictures[3] = {19, 28, 30};
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        cmdBackup[i] = new QPushButton(store.icon(0, pictures[i]), captions[i], this);
        cmdBackup[i]->setObjectName(QStringLiteral("cmdBackup(%1)").arg(i));
        cmdBackup[i]->setIconSize(QSize(32, 32));
        cmdBackup[i]->setToolTip(tips[i]);
        cmdBackup[i]->setMinimumWidth(100);
        buttons->addWidget(cmdBackup[i]);
        connect(cmdBackup[i], &QPushButton::clicked, this, [this, i] { cmdBackup_Click(i); });
    }
    cmdBackup[0]->setDefault(true);
    outer->addLayout(buttons);
    setMinimumWidth(420);
}

void frm_backup::cmdBackup_Click(int index)
{
    switch (index) {
    case 0:
        // The backup closes this window among the others; it is gone only
        // once its own loop has ended.
        subBackupDatabase(gControls, false);
        close();
        break;
    case 1:
        settings::set(Setting::BackupCount, 1);
        close();
        break;
    case 2: funHelp(this, 2, 4502); break;
    default: break;
    }
}

namespace backup_prompt {

void subShowBackupPromptBox(QWidget *form)
{
    frm_backup prompt(form);
    prompt.exec();
}

} // namespace backup_prompt
