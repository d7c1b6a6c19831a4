#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>

namespace ui {

namespace {
QtDialogs g_qtDialogs;
Dialogs *g_dialogs = nullptr;
QString g_defaultTitle = QStringLiteral("Zorbi 2003");
} // namespace

Dialogs &dialogs() { return g_dialogs ? *g_dialogs : g_qtDialogs; }

void setDialogs(Dialogs *d) { g_dialogs = d; }

void setDefaultTitle(const QString &title) { g_defaultTitle = title; }

int styleButtons(int style) { return style & 0x7; }

int styleIcon(int style) { return style & 0x70; }

int styleDefaultButton(int style)
{
    switch (style & 0x300) {
    case DefaultButton2: return 2;
    case DefaultButton3: return 3;
    default: return 1;
    }
}

std::vector<int> styleAnswers(int style)
{
    switch (styleButtons(style)) {
    case OKCancel: return {OK, Cancel};
    case AbortRetryIgnore: return {Abort, Retry, Ignore};
    case YesNoCancel: return {Yes, No, Cancel};
    case YesNo: return {Yes, No};
    case RetryCancel: return {Retry, Cancel};
    default: return {OK};
    }
}

QStringList qtFilters(const QString &vbFilter)
{
    QStringList out;
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already shows its patterns keeps them once.
        if (text.contains(QLatin1Char('(')))
            text = text.left(text.indexOf(QLatin1Char('('))).trimmed();
        out << QStringLiteral("%1 (%2)").arg(text, patterns);
    }
    return out;
}

namespace {

// Qt's providers look inside a file whose name they do not know (the data
// file's journal, say); this one goes by the name, and calls a name it does
// not know a plain file.
class IconsByName : public QFileIconProvider {
public:
    IconsByName() { setOptions(DontUseCustomDirectoryIcons); }

    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }

    QIcon icon(const QFileInfo &info) const override
    {
        if (!info.isFile())
            return QFileIconProvider::icon(info); // folders and drives: never opened
        const QMimeType mime = byName(info);
        const QIcon plain = QFileIconProvider::icon(File);
        if (mime.isDefault())
            return plain;
        return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), plain));
    }

    QString type(const QFileInfo &info) const override
    {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType mime = byName(info);
        if (mime.isDefault())
            return QCoreApplication::translate("QAbstractFileIconProvider", "File");
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeDatabase m_mime;
    QMimeType byName(const QFileInfo &info) const
    {
        return m_mime.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }
};

} // namespace

std::unique_ptr<QAbstractFileIconProvider> fileIconProviderByName() { return std::make_unique<IconsByName>(); }

void prepareFileDialog(QFileDialog &dialog, QAbstractFileIconProvider *iconProvider)
{
    // The desktop's dialog would decide types its own way, in our process.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setIconProvider(iconProvider);
}

static QString shownTitle(const QString &title) { return title.isEmpty() ? g_defaultTitle : title; }

static bool onScreen(const QWidget *w) { return w && w->isVisible() && !w->isMinimized(); }

QWidget *ownerWindow(QWidget *owner)
{
    if (QWidget *w = owner ? owner->window() : nullptr; onScreen(w))
        return w;
    if (QWidget *modal = QApplication::activeModalWidget(); onScreen(modal))
        return modal;
    if (QWidget *active = QApplication::activeWindow(); onScreen(active))
        return active;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = top->windowType();
        if (onScreen(top) && (type == Qt::Window || type == Qt::Dialog))
            return top;
    }
    return nullptr;
}

// ---------------------------------------------------------------- Qt

int QtDialogs::msgBox(QWidget *owner, const QString &prompt, int style, const QString &title)
{
    QMessageBox box(ownerWindow(owner));
    box.setWindowTitle(shownTitle(title));
    box.setText(prompt);
    switch (styleIcon(style)) {
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case Question: box.setIcon(QMessageBox::Question); break;
    case Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const std::vector<int> answers = styleAnswers(style);
    std::vector<QPushButton *> buttons;
    for (int a : answers) {
        QMessageBox::StandardButton sb = QMessageBox::Ok;
        switch (a) {
        case OK: sb = QMessageBox::Ok; break;
        case Cancel: sb = QMessageBox::Cancel; break;
        case Abort: sb = QMessageBox::Abort; break;
        case Retry: sb = QMessageBox::Retry; break;
        case Ignore: sb = QMessageBox::Ignore; break;
        case Yes: sb = QMessageBox::Yes; break;
        case No: sb = QMessageBox::No; break;
        }
        buttons.push_back(box.addButton(sb));
    }
    const int def = std::min<int>(styleDefaultButton(style), int(buttons.size())) - 1;
    box.setDefaultButton(buttons[def]);
    // Escape answers only where there is a Cancel (or a lone OK), as the boxes always did.
    for (size_t i = 0; i < answers.size(); ++i)
        if (answers[i] == Cancel || answers.size() == 1)
            box.setEscapeButton(buttons[i]);
    if (answers.size() > 1 && std::find(answers.begin(), answers.end(), int(Cancel)) == answers.end())
        box.setEscapeButton(static_cast<QAbstractButton *>(nullptr));
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return answers[i];
    return answers[def];
}

QString QtDialogs::inputBox(QWidget *owner, const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(ownerWindow(owner), shownTitle(title), prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtDialogs::fileDialog(QWidget *owner, const FileRequest &r)
{
    const std::unique_ptr<QAbstractFileIconProvider> icons = fileIconProviderByName();
    QFileDialog dlg(ownerWindow(owner), r.title);
    prepareFileDialog(dlg, icons.get());
    // The dialog starts in a folder. Given a file, Qt's dialog would open on it
    // with its name filled in, one key away from replacing it.
    const QFileInfo start(r.initialDir);
    if (!r.initialDir.isEmpty())
        dlg.setDirectory(start.exists() && !start.isDir() ? start.absolutePath() : r.initialDir);
    const QStringList filters = qtFilters(r.filter);
    dlg.setNameFilters(filters);
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dlg.selectNameFilter(filters[r.filterIndex - 1]);
    QString ext = r.defaultExt;
    ext.remove(QLatin1Char('*')).remove(QLatin1Char('.'));
    // A list of extensions ("*.bmp;*.gif") names no one suffix to add: added
    // whole, it turned a typed "Dog" into a file that is not there.
    if (!ext.isEmpty() && !ext.contains(QLatin1Char(';')) && !ext.contains(QLatin1Char(' ')))
        dlg.setDefaultSuffix(ext);
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
    if (r.save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        if (!r.overwritePrompt)
            dlg.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(dlg.selectedFiles().first());
}

QString QtDialogs::pickFolder(QWidget *owner, const QString &title)
{
    const std::unique_ptr<QAbstractFileIconProvider> icons = fileIconProviderByName();
    QFileDialog dlg(ownerWindow(owner), title, QDir::homePath());
    prepareFileDialog(dlg, icons.get());
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    const QString chosen = QDir::cleanPath(dlg.selectedFiles().first());
    return QFileInfo(chosen).isDir() ? chosen : QString();
}

// ---------------------------------------------------------------- scripted

QVariant ScriptedDialogs::next()
{
    if (m_answers.empty())
        return {};
    QVariant v = m_answers.front();
    m_answers.pop_front();
    return v;
}

int ScriptedDialogs::count(Kind k) const
{
    return int(std::count_if(m_shown.begin(), m_shown.end(), [k](const Shown &s) { return s.kind == k; }));
}

const ScriptedDialogs::Shown *ScriptedDialogs::last(Kind k) const
{
    for (auto it = m_shown.rbegin(); it != m_shown.rend(); ++it)
        if (it->kind == k)
            return &*it;
    return nullptr;
}

int ScriptedDialogs::msgBox(QWidget *owner, const QString &prompt, int style, const QString &title)
{
    Shown s;
    s.over = ownerWindow(owner);
    s.kind = Message;
    s.text = prompt;
    s.title = shownTitle(title);
    s.buttons = styleButtons(style);
    s.icon = styleIcon(style);
    s.defaultButton = styleDefaultButton(style);
    const std::vector<int> answers = styleAnswers(style);
    const QVariant v = next();
    int answer = answers[std::min<int>(s.defaultButton, int(answers.size())) - 1];
    if (v.isValid()) {
        answer = v.toInt();
        // An answer the box has no button for is a fault in the test's script.
        if (std::find(answers.begin(), answers.end(), answer) == answers.end())
            qFatal("scripted answer %d is not a button of the box \"%s\"", answer, qPrintable(prompt));
    }
    s.answer = answer;
    m_shown.push_back(s);
    return answer;
}

QString ScriptedDialogs::inputBox(QWidget *owner, const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    Shown s;
    s.over = ownerWindow(owner);
    s.kind = Input;
    s.text = prompt;
    s.title = shownTitle(title);
    s.defaultText = defaultText;
    const QVariant v = next();
    s.answer = v.isValid() ? v.toString() : QString();
    m_shown.push_back(s);
    return s.answer.toString();
}

QString ScriptedDialogs::fileDialog(QWidget *owner, const FileRequest &request)
{
    Shown s;
    s.over = ownerWindow(owner);
    s.kind = File;
    s.text = request.title;
    s.title = request.title;
    s.file = request;
    const QVariant v = next();
    s.answer = v.isValid() ? v.toString() : QString();
    m_shown.push_back(s);
    return s.answer.toString();
}

QString ScriptedDialogs::pickFolder(QWidget *owner, const QString &title)
{
    Shown s;
    s.over = ownerWindow(owner);
    s.kind = Folder;
    s.text = title;
    s.title = title;
    const QVariant v = next();
    s.answer = v.isValid() ? v.toString() : QString();
    m_shown.push_back(s);
    return s.answer.toString();
}

namespace {
QSet<int> &onceNumbers()
{
    static QSet<int> numbers;
    return numbers;
}
QSet<QString> &explained()
{
    static QSet<QString> texts;
    return texts;
}
} // namespace

void reportOnce(int number) { onceNumbers().insert(number); }

void errorReport(int number, const QString &description, const QString &routine, const QString &separator)
{
    if (onceNumbers().contains(number)) {
        const QString key = QString::number(number) + QLatin1Char('\n') + description;
        if (explained().contains(key))
            return;
        explained().insert(key);
        dialogs().msgBox(QApplication::activeWindow(), description, Critical | OKOnly);
        return;
    }
    const QString title = routine.isEmpty() ? QStringLiteral("Error") : QStringLiteral("Error - ") + routine;
    dialogs().msgBox(QApplication::activeWindow(), QString::number(number) + separator + description, OKOnly, title);
}

} // namespace ui
