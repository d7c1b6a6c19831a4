#include "printouts/frm_greeting.h"

#include "printouts/printout_request.h"
#include "core/system.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

GreetingTextBox::GreetingTextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &GreetingTextBox::keepToMaximum);
}

void GreetingTextBox::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (e->modifiers() & Qt::ControlModifier)
            insertPlainText(QStringLiteral("\n"));
        else
            emit enterPressed();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void GreetingTextBox::keepToMaximum()
{
    if (m_trimming)
        return;
    const int excess = toPlainText().size() - m_max;
    if (excess <= 0)
        return;
    // What was just typed or pasted ends at the cursor: drop its overflow.
    m_trimming = true;
    QTextCursor c = textCursor();
    const int end = c.position();
    const int start = qMax(0, end - excess);
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    if (toPlainText().size() > m_max) { // the cursor stood before the overflow
        c.movePosition(QTextCursor::End);
        c.setPosition(m_max, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    setTextCursor(c);
    m_trimming = false;
}

QString frm_greeting::titlePlaceholder() { return QStringLiteral("(Enter your title here)"); }
QString frm_greeting::greetingPlaceholder() { return QStringLiteral("(Enter your greeting here)"); }

frm_greeting::frm_greeting(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_greeting"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    static const char *const captions[] = {
        "Title:", "Greeting:",
        "Enter the text that you would like to appear above and below your pet's picture (up to 100 characters).",
        "(Use Ctrl-Enter to start new line)"};
    for (int i = 0; i < 4; ++i) {
        lblGreeting[i] = new QLabel(QLatin1String(captions[i]), this);
        lblGreeting[i]->setObjectName(QStringLiteral("lblGreeting(%1)").arg(i));
        lblGreeting[i]->setWordWrap(i >= 2);
    }

    txtGreeting0 = new QLineEdit(this);
    txtGreeting0->setObjectName(QStringLiteral("txtGreeting(0)"));
    txtGreeting0->setMaxLength(kMaxLength);
    txtGreeting1 = new GreetingTextBox(this);
    txtGreeting1->setObjectName(QStringLiteral("txtGreeting(1)"));
    txtGreeting1->setMaximumLength(kMaxLength);
    txtGreeting1->setMinimumHeight(90);
    txtGreeting0->installEventFilter(this);
    txtGreeting1->installEventFilter(this);

    cmdGreeting[0] = new QPushButton(QStringLiteral("&OK"), this);
    cmdGreeting[1] = new QPushButton(QStringLiteral("Cancel"), this);
    for (int i = 0; i < 2; ++i) {
        cmdGreeting[i]->setObjectName(QStringLiteral("cmdGreeting(%1)").arg(i));
        connect(cmdGreeting[i], &QPushButton::clicked, this, [this, i] { cmdGreeting_Click(i); });
    }
    cmdGreeting[0]->setDefault(true);
    connect(txtGreeting1, &GreetingTextBox::enterPressed, cmdGreeting[0], &QPushButton::click);

    auto *grid = new QGridLayout;
    grid->addWidget(lblGreeting[0], 0, 0, Qt::AlignTop);
    grid->addWidget(txtGreeting0, 0, 1);
    grid->addWidget(lblGreeting[1], 1, 0, Qt::AlignTop);
    grid->addWidget(txtGreeting1, 1, 1);
    grid->addWidget(lblGreeting[3], 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdGreeting[0]);
    buttons->addWidget(cmdGreeting[1]);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(lblGreeting[2]);
    outer->addSpacing(6);
    outer->addLayout(grid);
    outer->addSpacing(6);
    outer->addLayout(buttons);
    resize(460, sizeHint().height());

    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { funHelp(this, 2, kHelpContext); });

    Form_Load();
}

void frm_greeting::Form_Load()
{
    txtGreeting0->setText(titlePlaceholder());
    txtGreeting0->selectAll();
    txtGreeting1->setPlainText(greetingPlaceholder());
    txtGreeting0->setFocus();
}

void frm_greeting::txtGreeting_GotFocus(int index)
{
    if (index == 0)
        txtGreeting0->selectAll();
    else
        txtGreeting1->selectAll();
}

bool frm_greeting::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        const int index = watched == txtGreeting0 ? 0 : 1;
        // After the click that gave the focus has placed its cursor.
        QTimer::singleShot(0, this, [this, index] { txtGreeting_GotFocus(index); });
    }
    return QDialog::eventFilter(watched, event);
}

void frm_greeting::cmdGreeting_Click(int index)
{
    if (index == 0) {
        const QString title = txtGreeting0->text().trimmed();
        const QString text = txtGreeting1->toPlainText().trimmed();
        m_title = title == titlePlaceholder() ? QString() : title;
        m_greeting = text == greetingPlaceholder() ? QString() : text;
        m_confirmed = true;
        accept();
    } else {
        reject();
    }
}

void frm_greeting::reject()
{
    m_confirmed = false;
    QDialog::reject();
}

namespace report_handler {

bool funReportGreetingOptions(QWidget *form, PrintoutRequest &request)
{
    frm_greeting options(form ? form->window() : nullptr);
    options.setWindowTitle(QStringLiteral("Greeting Card options"));
    options.exec();
    if (!options.confirmed())
        return false;
    request.greetingTitle = options.title();
    request.greetingText = options.greeting();
    return true;
}

} // namespace report_handler
