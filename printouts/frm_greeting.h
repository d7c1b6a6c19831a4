#pragma once
// The greeting card's options: a title and a greeting of up to 100
// characters each, printed above and below the pet's picture. OK confirms
// them, trimmed (a text left at its placeholder is ""); Cancel, Esc and the
// close box leave the window unconfirmed.

#include <QDialog>
#include <QPlainTextEdit>

struct PrintoutRequest;

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

    // Whether OK closed the window, and the texts it confirmed.
    bool confirmed() const { return m_confirmed; }
    QString title() const { return m_title; }
    QString greeting() const { return m_greeting; }

public slots:
    // Esc and the close box: as Cancel.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_confirmed = false;
    QString m_title, m_greeting;
};

namespace report_handler {
// Shows the greeting card's options modally over `form`, captioned "Greeting
// Card options"; True only when the user confirmed, the texts then in
// `request`.
bool funReportGreetingOptions(QWidget *form, PrintoutRequest &request);
} // namespace report_handler
