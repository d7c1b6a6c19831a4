#include "printouts/frm_publish.h"

#include "core/system.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

frm_publish::frm_publish(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_publish"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Select which details you want to publish:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize); // a dialog of its own size, not resized
    outer->addWidget(Label1);

    // "&&" shows one "&" and marks no key.
    const char *captions[] = {"Include Vaccination Information", "Include Diary Events", "Include Misc. Information",
                              "Include Commands && Behavior"};
    for (int i = 0; i < 4; ++i) {
        auto *box = new QCheckBox(QString::fromLatin1(captions[i]), this);
        box->setObjectName(QStringLiteral("chkExportOptions_%1").arg(i));
        box->setChecked(true);
        chkExportOptions[size_t(i)] = box;
        outer->addWidget(box);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const char *labels[] = {nullptr, "&OK", "&Cancel"};
    for (int i = 1; i <= 2; ++i) {
        auto *b = new QPushButton(QString::fromLatin1(labels[i]), this);
        b->setObjectName(QStringLiteral("cmdPublish_%1").arg(i));
        cmdPublish[size_t(i)] = b;
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdPublish_Click(i); });
    }
    cmdPublish[1]->setDefault(true);
    outer->addSpacing(6);
    outer->addLayout(buttons);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { funHelp(this, 2, HelpContextID); });
}

void frm_publish::cmdPublish_Click(int index)
{
    switch (index) {
    case 1: {
        // Only a cleared box leaves its part out: a grey one counts as ticked.
        auto included = [this](int i) { return chkExportOptions[size_t(i)]->checkState() != Qt::Unchecked; };
        m_diary = included(1);
        m_misc = included(2);
        m_commands = included(3);
        m_vaccinations = included(0);
        m_confirmed = true;
        accept();
        break;
    }
    case 2: reject(); break;
    default: break;
    }
}
