#pragma once
// The greeting card's options: a title and a greeting of up to 100
// characters each, printed above and below the pet's picture. OK leaves them,
// trimmed, in gGreetingTitle and gGreetingText (a text left at its
// placeholder is "") and sets gReportOptionsOK; Cancel, Esc and the close box
// leave gReportOptionsOK False and the two texts as they were.

#include <QDialog>
#include <QPlainTextEdit>

class QLabel;
class QLineEdit;
class QPushButton;

// A box of several lines that holds at most `maximumLength()` characters
// (typed or pasted: what goes beyond is dropped), where Enter is the window's
// OK and Ctrl+Enter starts a new line.
class GreetingTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit GreetingTextBox(QWidget *parent = nullptr);
    void setMaximumLength(int length) { m_max = length; }
    int maximumLength() const { return m_max; }

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void keepToMaximum();
    int m_max = 100;
    bool m_trimming = false;
};

class frm_greeting : public QDialog {
    Q_OBJECT
public:
    explicit frm_greeting(QWidget *parent = nullptr);

    static constexpr int kMaxLength = 100;
    static constexpr int kHelpContext = 1001;

    QLineEdit *txtGreeting0 = nullptr;       // "txtGreeting(0)", the title
    GreetingTextBox *txtGreeting1 = nullptr; // "txtGreeting(1)", the greeting
    QLabel *lblGreeting[4] = {};
    QPushButton *cmdGreeting[2] = {};

    static QString titlePlaceholder();
    static QString greetingPlaceholder();

    void Form_Load();
    void txtGreeting_GotFocus(int index);
    void cmdGreeting_Click(int index);

public slots:
    // Esc and the close box: as Cancel.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

namespace report_handler {
// Shows the greeting card's options modally over `form`, captioned "Greeting
// Card options"; True only when the user confirmed.
bool funReportGreetingOptions(QWidget *form);
} // namespace report_handler
