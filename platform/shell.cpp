#include "platform/shell.h"
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

shell::Opener g_opener;

bool startsWithCI(const QString &text, const char *prefix)
{
    return text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

bool isAddress(const QString &text)
{
    return startsWithCI(text, "http://") || startsWithCI(text, "https://")
        || startsWithCI(text, "ftp://") || startsWithCI(text, "mailto:")
        || startsWithCI(text, "file://");
}

// A file is run only when it is a program: the executable bit alone is not
// enough, since whole drives (a memory stick, a shared folder) mark every
// document executable, and "running" a web page there would do nothing.
bool isProgram(const QFileInfo &info)
{
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile f(info.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head == QByteArray("\x7f" "ELF", 4) || head.startsWith("#!");
}

} // namespace

namespace shell {

void setOpener(Opener opener) { g_opener = std::move(opener); }

void open(const QString &target, const QString &parameters)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return;

    QUrl url;
    if (isAddress(text)) {
        url = QUrl(text);
    } else if (startsWithCI(text, "www.")) {
        url = QUrl(QStringLiteral("http://") + text);
    } else {
        const QFileInfo info(target); // a file's name is taken as given, blanks and all
        if (isProgram(info)) {
            const QString program = info.absoluteFilePath();
            if (g_opener) {
                g_opener(program, parameters, true);
                return;
            }
            QProcess::startDetached(program, QProcess::splitCommand(parameters));
            return;
        }
        url = QUrl::fromLocalFile(info.absoluteFilePath());
    }

    if (g_opener) {
        g_opener(url.toString(), parameters, false);
        return;
    }
    QDesktopServices::openUrl(url);
}

} // namespace shell
