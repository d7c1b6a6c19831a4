#include "platform/shell.h"
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

shell::Opener g_opener;

void hand(const QUrl &url)
{
    if (g_opener)
        g_opener(url.toString(QUrl::FullyEncoded), QString(), false);
    else
        QDesktopServices::openUrl(url);
}

bool hasBlankOrControl(const QString &text)
{
    for (const QChar c : text)
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return true;
    return false;
}

} // namespace

namespace shell {

void setOpener(Opener opener) { g_opener = std::move(opener); }

QUrl webAddress(const QString &stored)
{
    const QString text = stored.trimmed();
    if (text.isEmpty() || hasBlankOrControl(text))
        return QUrl();

    // "name:" starts an address of that scheme, except a host followed by its
    // port ("x.org:8080"), which is a web address without one.
    static const QRegularExpression schemeRx(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(.*)$"));
    static const QRegularExpression portRx(QStringLiteral("^[0-9]+([/?#].*)?$"));
    QString candidate = text;
    if (const auto m = schemeRx.match(text); m.hasMatch()) {
        const QString scheme = m.captured(1).toLower();
        const bool hostAndPort = scheme.contains(QLatin1Char('.')) && portRx.match(m.captured(2)).hasMatch();
        if (hostAndPort)
            candidate = QStringLiteral("http://") + text;
        else if (scheme != QLatin1String("http") && scheme != QLatin1String("https")
                 && scheme != QLatin1String("mailto"))
            return QUrl();
    } else {
        candidate = QStringLiteral("http://") + text;
    }

    const QUrl url(candidate, QUrl::StrictMode);
    if (!url.isValid())
        return QUrl();
    if (url.scheme() == QLatin1String("mailto"))
        return url.path().isEmpty() ? QUrl() : url;
    // A web address names a host: "http:///bin/sh" (from "/bin/sh") does not.
    return url.host().isEmpty() ? QUrl() : url;
}

QString encodedAddress(const QString &address)
{
    static const QByteArray unsafe = QByteArrayLiteral("\"\\()<>{}|^`");
    QString out;
    for (const char ch : address.toUtf8()) {
        const auto b = static_cast<unsigned char>(ch);
        if (b <= 0x20 || b >= 0x7F || unsafe.contains(ch))
            out += QStringLiteral("%%1").arg(int(b), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QLatin1Char(ch);
    }
    return out;
}

bool openAddress(const QString &text)
{
    const QUrl url = webAddress(text);
    if (url.isEmpty())
        return false;
    hand(url);
    return true;
}

bool openFolder(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(path); // a folder's name is taken as given, blanks and all
    if (!info.isDir())
        return false;
    hand(QUrl::fromLocalFile(info.absoluteFilePath()));
    return true;
}

void openOwnFile(const QString &path) { hand(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())); }

bool openDocument(const QString &path)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !info.isFile() || info.isExecutable())
        return false;
    hand(QUrl::fromLocalFile(info.absoluteFilePath()));
    return true;
}

void startProgram(const QString &path, const QString &parameters)
{
    if (g_opener) {
        g_opener(path, parameters, true);
        return;
    }
    QProcess::startDetached(path, QProcess::splitCommand(parameters));
}

QStringList systemInfoPrograms()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("lshw-gtk")};
}

QString findSystemInfoProgram()
{
    for (const QString &name : systemInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool startSystemInfo()
{
    const QString program = findSystemInfoProgram();
    if (program.isEmpty())
        return false;
    startProgram(program, QString());
    return true;
}

} // namespace shell
