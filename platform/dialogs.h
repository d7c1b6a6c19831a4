#pragma once
// Every modal question the program asks goes through one interface, so that a
// test can queue the answers and read back exactly what was shown.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <deque>
#include <memory>
#include <vector>

class QAbstractFileIconProvider;
class QFileDialog;
class QPrinter;
class QWidget;

namespace ui {

// Message-box styles and answers, numbered as the program's texts expect them.
enum MsgStyle : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton1 = 0,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
enum MsgResult : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The buttons, icon and default button that a style asks for.
int styleButtons(int style);       // 0..5
int styleIcon(int style);          // 0, 16, 32, 48 or 64
int styleDefaultButton(int style); // 1, 2 or 3
// The answers a style's buttons give, left to right.
std::vector<int> styleAnswers(int style);

struct FileRequest {
    QString title;
    QString filter;      // "Description|*.ext|All Files (*.*)|*.*"
    int filterIndex = 1; // 1-based
    QString defaultExt;
    QString initialDir;
    QString fileName;
    bool save = false;
    bool overwritePrompt = true;
};

// Converts "Text|*.a;*.b|All|*.*" into Qt's "Text (*.a *.b);;All (*.*)" form.
QStringList qtFilters(const QString &vbFilter);

// Every file dialog of the program is a QFileDialog set up here (and shown
// through dialogs()), never the desktop's own: it tells a file's icon and type
// from its name alone.  Opening a file to sniff its contents would drop the
// locks the database engine holds on it (on Linux, closing any descriptor of a
// file drops all of the process's POSIX locks on it), and the other program
// would then take our open data file for a left-over and delete its journal.
// `iconProvider` must outlive the dialog.
void prepareFileDialog(QFileDialog &dialog, QAbstractFileIconProvider *iconProvider);
// The icon provider of those dialogs: icons and types by name only.
std::unique_ptr<QAbstractFileIconProvider> fileIconProviderByName();

// The window a dialog asked for by `owner` opens over, centred: the owner's
// window when it is on screen; otherwise (no owner, the hidden form that holds
// the shared controls, a window not shown yet) the modal window or the active
// one, else a window of the program that is on screen; null when none is.
// Over a hidden window a dialog would open where that window would stand, at
// the top left of the screen.
QWidget *ownerWindow(QWidget *owner);

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An empty title shows the program's title.
    virtual int msgBox(QWidget *owner, const QString &prompt, int style = OKOnly, const QString &title = {}) = 0;
    // The typed text, or "" when cancelled.
    virtual QString inputBox(QWidget *owner, const QString &prompt, const QString &title = {},
                             const QString &defaultText = {}) = 0;
    // The chosen file's full path, or "" when cancelled.
    virtual QString fileDialog(QWidget *owner, const FileRequest &request) = 0;
    // The chosen folder, or "" when cancelled.
    virtual QString pickFolder(QWidget *owner, const QString &title) = 0;
    // The print dialog over `printer`: true when the user chose to print
    // (the printer then holds the choices made).
    // The page set-up dialog of `printer`: true when the user confirmed.
    // A dialogs layer that does not print answers both as cancelled.
    virtual bool printDialog(QWidget *owner, QPrinter &printer);
    virtual bool pageSetupDialog(QWidget *owner, QPrinter &printer);
};

// The dialogs in use; Qt's own unless a test has set others.
Dialogs &dialogs();
void setDialogs(Dialogs *d); // nullptr restores Qt's dialogs

// The title a box without a title of its own shows.
void setDefaultTitle(const QString &title);

// The real dialogs on Qt's widgets.
class QtDialogs : public Dialogs {
public:
    int msgBox(QWidget *owner, const QString &prompt, int style, const QString &title) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title, const QString &defaultText) override;
    QString fileDialog(QWidget *owner, const FileRequest &request) override;
    QString pickFolder(QWidget *owner, const QString &title) override;
    bool printDialog(QWidget *owner, QPrinter &printer) override;
    bool pageSetupDialog(QWidget *owner, QPrinter &printer) override;
};

// Answers from a queue and keeps a record of everything shown.  With the queue
// empty a message box answers its default button and the other dialogs cancel.
// The print dialog takes a path (it prints into that PDF file), true (prints
// on the printer as it is) or false; the page set-up dialog a QPageLayout
// (the printer takes it), true or false.
class ScriptedDialogs : public Dialogs {
public:
    enum Kind { Message, Input, File, Folder, Print, PageSetup };
    struct Shown {
        Kind kind = Message;
        QString text;  // prompt
        QString title; // as shown (the default title filled in)
        int buttons = 0, icon = 0, defaultButton = 1;
        QString defaultText;
        FileRequest file;
        QString printerName; // Print, PageSetup: the printer the dialog was for
        QVariant answer;
        QPointer<QWidget> over; // ownerWindow() of the dialog's owner
    };
    void queue(const QVariant &answer) { m_answers.push_back(answer); }
    const std::vector<Shown> &shown() const { return m_shown; }
    int count(Kind k) const;
    const Shown *last(Kind k) const;
    void clear()
    {
        m_shown.clear();
        m_answers.clear();
    }
    bool answersLeft() const { return !m_answers.empty(); }

    int msgBox(QWidget *owner, const QString &prompt, int style, const QString &title) override;
    QString inputBox(QWidget *owner, const QString &prompt, const QString &title, const QString &defaultText) override;
    QString fileDialog(QWidget *owner, const FileRequest &request) override;
    QString pickFolder(QWidget *owner, const QString &title) override;
    bool printDialog(QWidget *owner, QPrinter &printer) override;
    bool pageSetupDialog(QWidget *owner, QPrinter &printer) override;

private:
    std::deque<QVariant> m_answers;
    std::vector<Shown> m_shown;
    QVariant next();
};

// Sets the dialogs for the life of a scope (tests).
class ScopedDialogs {
public:
    explicit ScopedDialogs(Dialogs *d) { setDialogs(d); }
    ~ScopedDialogs() { setDialogs(nullptr); }
};

// The error report: the number, ": " and the description in an OK box titled
// "Error - " and the routine's name (or "Error" when `routine` is empty).
void errorReport(int number, const QString &description, const QString &routine = {},
                 const QString &separator = QStringLiteral(": "));

// A failure that stands for the state of a file rather than for one step that
// failed (a damaged data file) is explained once: the first report of it shows
// its description alone, with the critical icon and the program's title, and
// later reports of the same failure show nothing, however many routines meet it.
void reportOnce(int number);

} // namespace ui
