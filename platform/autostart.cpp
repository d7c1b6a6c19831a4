#include "platform/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace autostart {

namespace {

const char kGroup[] = "[Desktop Entry]";

// The escapes every string value of a desktop entry uses.
QString escapeValue(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c; break;
        }
    }
    return out;
}

QString unescapeValue(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar n = text.at(++i);
        switch (n.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        default: out += n; break; // "\\" and anything unknown
        }
    }
    return out;
}

// Inside a quoted argument of Exec= these four take a backslash before them.
bool needsBackslash(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\');
}

} // namespace

QString folder()
{
    QString config = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    // The variable counts only when it names an absolute path.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config) + QStringLiteral("/autostart");
}

QString entryPath(const QString &name)
{
    QString file;
    for (const QChar c : name)
        file += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('-');
    return folder() + QLatin1Char('/') + file + QStringLiteral(".desktop");
}

QString execLine(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &arg : arguments) {
        // Every argument is quoted, so blanks and shell characters stay inside it.
        QString q = QStringLiteral("\"");
        for (const QChar c : arg) {
            if (needsBackslash(c))
                q += QLatin1Char('\\');
            q += c;
            if (c == QLatin1Char('%'))
                q += QLatin1Char('%'); // a literal "%" is "%%", not a field code
        }
        quoted << q + QLatin1Char('"');
    }
    return escapeValue(quoted.join(QLatin1Char(' ')));
}

QStringList execArguments(const QString &execValue)
{
    const QString line = unescapeValue(execValue);
    QStringList args;
    QString current;
    bool inQuotes = false, any = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < line.size() && needsBackslash(line.at(i + 1)))
                current += line.at(++i);
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = any = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (any)
                args << current;
            current.clear();
            any = false;
            continue;
        } else {
            current += c;
            any = true;
        }
        if (c == QLatin1Char('%') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('%'))
            ++i;
    }
    if (any)
        args << current;
    return args;
}

bool write(const QString &name, const QString &program, QString *error)
{
    const QString dir = folder();
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir()) {
        if (error)
            *error = QStringLiteral("Cannot make the folder '%1'.").arg(dir);
        return false;
    }
    QSaveFile file(entryPath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QString text = QLatin1String(kGroup) + QStringLiteral("\nType=Application\nName=") + escapeValue(name)
                         + QStringLiteral("\nExec=") + execLine({program})
                         + QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    file.write(text.toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString read(const QString &name)
{
    QFile file(entryPath(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString("");
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1String(kGroup);
        else if (inGroup && line.startsWith(QStringLiteral("Exec="))) {
            const QStringList args = execArguments(line.mid(5));
            return args.isEmpty() ? QString("") : args.first();
        }
    }
    return QString("");
}

bool remove(const QString &name)
{
    const QString path = entryPath(name);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

} // namespace autostart
