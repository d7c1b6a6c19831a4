// Remakes the program's icons from the Breeze icon theme and the Noto Color
// Emoji font. The PNG files it writes are kept in the repository, so neither
// the theme nor the font is needed to build or to run the program; run this
// only to change an icon (see make_icons.sh), then look at the contact sheet.
//
// Each picture is written twice: <n>.png at 32x32 (list bar, large icons,
// picture boxes) and <n>-16.png at 16x16 (menus, small icons). Breeze ships
// hand-drawn 16-pixel artwork for many icons; that is used where it exists.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace {

const QString kBreeze = QStringLiteral("/usr/share/icons/breeze/");

enum class Kind {
    Breeze,       // a theme icon, "context/name"
    Emoji,        // one emoji, by code point
    EmojiPatched, // an emoji with half its fur darkened
    EmojiOnPage,  // an emoji on a sheet of paper: a printout
    EmojiAdded,   // an emoji with the theme's green "added" emblem
};

struct Entry {
    QString file; // path below the icons folder, without ".png"
    Kind kind;
    QString source;  // theme icon or code point (hex)
    QString meaning; // what the program shows it for
};

// The icon table. The numbers are the indexes the program asks the icon store
// for; an index the program never asks for has no file.
const std::vector<Entry> &entries()
{
    static const std::vector<Entry> table = {
        // Group 0: the program's own icons.
        {"g0/1", Kind::Emoji, "1F43E", "program and window icon; a pet without a species icon"},
        {"g0/2", Kind::Breeze, "preferences/preferences-desktop-user", "person (small)"},
        {"g0/3", Kind::Breeze, "preferences/preferences-desktop-user", "person (large); new person window"},
        {"g0/5", Kind::Breeze, "apps/office-address-book", "Address Book (list bar)"},
        {"g0/6", Kind::Breeze, "mimetypes/x-office-calendar",
         "Calendar (list bar); day list window; calendar preferences"},
        {"g0/7", Kind::Emoji, "1F489", "Update Vaccinations (small)"},
        {"g0/8", Kind::Emoji, "1F489", "Update Vaccinations (large); vaccinations tab; event in the day list"},
        {"g0/9", Kind::Emoji, "1F5E3", "commands tab"},
        {"g0/10", Kind::Emoji, "1F4C5", "Open Events, New Event (calendar menu)"},
        {"g0/11", Kind::Emoji, "1F4C5", "event window picture"},
        {"g0/12", Kind::Emoji, "1F4D4", "Add Diary Entries (small)"},
        {"g0/13", Kind::Emoji, "1F4D4", "Add Diary Entries (large); diary tab"},
        {"g0/14", Kind::Breeze, "apps/preferences-system", "Preferences (list bar, window icon)"},
        {"g0/15", Kind::Emoji, "1F4CB", "properties and notes tab"},
        {"g0/16", Kind::Breeze, "mimetypes/image-x-generic", "picture (small); gallery item"},
        {"g0/17", Kind::Breeze, "preferences/preferences-devices-printer", "Printouts (list bar)"},
        {"g0/18", Kind::Breeze, "actions/edit-delete", "Delete (menus)"},
        {"g0/19", Kind::Breeze, "preferences/preferences-system-backup", "backup (backup prompt icon, Backup button)"},
        {"g0/20", Kind::Breeze, "actions/document-import", "Import picture"},
        {"g0/21", Kind::Breeze, "actions/edit-clear", "Clear picture"},
        {"g0/22", Kind::Breeze, "actions/document-save", "Save picture"},
        {"g0/23", Kind::Breeze, "apps/internet-web-browser", "web site (photo album sites)"},
        {"g0/24", Kind::Breeze, "places/folder-pictures", "photo album preferences"},
        {"g0/25", Kind::Breeze, "mimetypes/image-x-generic", "picture of a pet (small)"},
        {"g0/26", Kind::Breeze, "mimetypes/image-x-generic", "picture of a pet (large); new picture window"},
        {"g0/27", Kind::EmojiAdded, "1F43E", "Add New Pet (list bar)"},
        {"g0/28", Kind::Breeze, "actions/application-exit", "Exit (backup prompt)"},
        {"g0/30", Kind::Breeze, "apps/help-browser", "Help (backup prompt)"},
        {"g0/31", Kind::Emoji, "1F5BC", "Photo Gallery (list bar)"},
        // The main toolbar's view and calendar buttons.
        {"g0/32", Kind::Breeze, "actions/view-list-icons", "Large Listview (toolbar)"},
        {"g0/33", Kind::Breeze, "actions/view-list-text", "Medium Listview (toolbar)"},
        {"g0/34", Kind::Breeze, "actions/view-list-details", "Detailed Listview (toolbar)"},
        {"g0/35", Kind::Breeze, "actions/go-first", "Last Year (toolbar)"},
        {"g0/36", Kind::Breeze, "actions/go-previous", "Last Month (toolbar)"},
        {"g0/37", Kind::Breeze, "actions/go-jump-today", "Goto Today (toolbar)"},
        {"g0/38", Kind::Breeze, "actions/go-next", "Next Month (toolbar)"},
        {"g0/39", Kind::Breeze, "actions/go-last", "Next Year (toolbar)"},
        // Group 1: one icon per species id of the system file.
        {"g1/1", Kind::Emoji, "1F436", "Dog"},
        {"g1/2", Kind::Emoji, "1F431", "Cat"},
        {"g1/3", Kind::Emoji, "1F99C", "Bird"},
        {"g1/4", Kind::Emoji, "1F420", "Fish"},
        {"g1/5", Kind::Emoji, "1F434", "Horse"},
        {"g1/6", Kind::Emoji, "1F430", "Rabbit"},
        {"g1/7", Kind::Emoji, "1F439", "Hamster"},
        {"g1/8", Kind::EmojiPatched, "1F439", "Guinea Pig"},
        {"g1/9", Kind::Emoji, "1F98E", "Reptile"},
        {"g1/10", Kind::Emoji, "1F43E", "Other"},
        // Group 2: the printouts, a small and a large icon each.
        {"g2/1", Kind::Emoji, "1F9F3", "Pet Sitter Instructions (small)"},
        {"g2/2", Kind::EmojiOnPage, "1F9F3", "Pet Sitter Instructions (large)"},
        {"g2/3", Kind::Emoji, "1F5BC", "Pet Poster (small)"},
        {"g2/4", Kind::EmojiOnPage, "1F5BC", "Pet Poster (large)"},
        {"g2/5", Kind::Emoji, "1F310", "Publish (small)"},
        {"g2/6", Kind::EmojiOnPage, "1F310", "Publish (large)"},
        {"g2/7", Kind::Emoji, "1F392", "Show & Tell Paper (small)"},
        {"g2/8", Kind::EmojiOnPage, "1F392", "Show & Tell Paper (large)"},
        {"g2/9", Kind::Emoji, "1F9F2", "Refrigerator Page (small)"},
        {"g2/10", Kind::EmojiOnPage, "1F9F2", "Refrigerator Page (large)"},
        {"g2/11", Kind::Emoji, "1F381", "Greeting Card (small)"},
        {"g2/12", Kind::EmojiOnPage, "1F381", "Greeting Card (large)"},
        {"g2/13", Kind::Emoji, "1F43E", "Pet Details (small)"},
        {"g2/14", Kind::EmojiOnPage, "1F43E", "Pet Details (large)"},
        {"g2/15", Kind::Emoji, "1F465", "Address Book Listing (small)"},
        {"g2/16", Kind::EmojiOnPage, "1F465", "Address Book Listing (large)"},
        {"g2/17", Kind::Emoji, "1F4D4", "Print Pet Diary (small)"},
        {"g2/18", Kind::EmojiOnPage, "1F4D4", "Print Pet Diary (large)"},
        {"g2/19", Kind::Emoji, "1F50D", "Missing Pet Poster (small)"},
        {"g2/20", Kind::EmojiOnPage, "1F50D", "Missing Pet Poster (large)"},
        {"g2/21", Kind::Emoji, "1F4F7", "Picture Print, Photo Album (small)"},
        {"g2/22", Kind::EmojiOnPage, "1F4F7", "Picture Print, Photo Album (large)"},
        {"g2/23", Kind::Emoji, "1FA7A", "Health Statement (small)"},
        {"g2/24", Kind::EmojiOnPage, "1FA7A", "Health Statement (large)"},
        // The reminder program's own store: its tray menu and reminder window.
        {"tray/g0/1", Kind::Emoji, "1F43E", "Open; reminder window icon"},
        {"tray/g0/3", Kind::Breeze, "preferences/preferences-desktop-notification-bell", "Check Reminders"},
        {"tray/g0/4", Kind::Breeze, "actions/application-exit", "Exit"},
        {"tray/g0/5", Kind::Emoji, "1F4C5", "Add New Event"},
        {"tray/g0/6", Kind::Breeze, "actions/window-close", "Close Menu"},
    };
    return table;
}

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage renderSvg(const QString &file, int size)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
        return {};
    }
    QImage image = blank(size);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// The theme's file for an icon at a size: the exact size, else the nearest
// larger one, else the largest there is.
QString breezeFile(const QString &source, int size)
{
    const QString context = source.section('/', 0, 0);
    const QString name = source.section('/', 1, 1);
    const QList<int> sizes = size <= 16 ? QList<int>{16, 22, 32, 48, 64} : QList<int>{32, 48, 64, 96, 22};
    for (int s : sizes) {
        const QString file = kBreeze + context + '/' + QString::number(s) + '/' + name + ".svg";
        if (QFile::exists(file))
            return file;
    }
    return {};
}

// Small pictures use the theme's own 16-pixel artwork where it exists;
// otherwise the 32-pixel one is scaled down.
QImage breeze(const QString &source, int size)
{
    const QString file = breezeFile(source, size);
    if (file.isEmpty()) {
        std::fprintf(stderr, "no theme icon %s\n", qPrintable(source));
        return {};
    }
    return renderSvg(file, size);
}

// The colour font holds bitmaps drawn at 109 pixels; render one there, cut it
// to its visible part and scale it into the square, centred.
QImage emoji(const QString &hex, int size)
{
    const char32_t cp = hex.toUInt(nullptr, 16);
    const QString text = QString::fromUcs4(&cp, 1);
    const int canvas = 160;
    QImage big = blank(canvas);
    {
        QPainter painter(&big);
        QFont font(QStringLiteral("Noto Color Emoji"));
        font.setPixelSize(109);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, canvas, canvas), Qt::AlignCenter, text);
    }
    int x0 = canvas, y0 = canvas, x1 = -1, y1 = -1;
    for (int y = 0; y < canvas; ++y)
        for (int x = 0; x < canvas; ++x)
            if (qAlpha(big.pixel(x, y)) > 8) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) {
        std::fprintf(stderr, "the font has no picture for U+%s\n", qPrintable(hex));
        return {};
    }
    const QImage cut = big.copy(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    const int inner = size >= 32 ? size - 2 : size;
    const QImage scaled = cut.scaled(inner, inner, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage image = blank(size);
    QPainter painter(&image);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return image;
}

// A guinea pig's patched coat: the hamster with its right half dark brown,
// which tells the two apart at a glance and keeps it from reading as a bear.
QImage patched(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() / 2 + 1; x < image.width(); ++x) {
            QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() == 0)
                continue;
            float h, s, v, a;
            c.getHsvF(&h, &s, &v, &a);
            // Only the orange fur; the white face and the pink ears stay.
            if (s > 0.25f && h >= 0 && h < 0.15f) {
                c.setHsvF(h, s, v * 0.45f, a);
                image.setPixel(x, y, c.rgba());
            }
        }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A printout: the emoji on a sheet of paper. At 16 pixels the sheet would
// leave the emoji unreadable, so the small size shows the emoji alone.
QImage onPage(const QString &hex, int size)
{
    if (size < 32)
        return emoji(hex, size);
    QImage image = breeze(QStringLiteral("mimetypes/text-plain"), size);
    QPainter painter(&image);
    const int e = size * 5 / 8;
    painter.drawImage(size - e, size - e, emoji(hex, e));
    return image;
}

QImage withAdded(const QString &hex, int size)
{
    QImage image = emoji(hex, size);
    const int e = size / 2;
    QPainter painter(&image);
    painter.drawImage(size - e, size - e, breeze(QStringLiteral("emblems/emblem-added"), e));
    return image;
}

QImage make(const Entry &entry, int size)
{
    switch (entry.kind) {
    case Kind::Breeze: return breeze(entry.source, size);
    case Kind::Emoji: return emoji(entry.source, size);
    case Kind::EmojiPatched: return patched(emoji(entry.source, size));
    case Kind::EmojiOnPage: return onPage(entry.source, size);
    case Kind::EmojiAdded: return withAdded(entry.source, size);
    }
    return {};
}

QString describeSource(const Entry &entry)
{
    switch (entry.kind) {
    case Kind::Breeze: return "Breeze `" + entry.source + "`";
    case Kind::Emoji: return "Noto Color Emoji U+" + entry.source;
    case Kind::EmojiPatched: return "Noto Color Emoji U+" + entry.source + ", half the fur darkened";
    case Kind::EmojiOnPage:
        return "Noto Color Emoji U+" + entry.source + " on Breeze `mimetypes/text-plain` (16 px: emoji alone)";
    case Kind::EmojiAdded: return "Noto Color Emoji U+" + entry.source + " with Breeze `emblems/emblem-added`";
    }
    return {};
}

bool writeQrc(const QString &dataDir)
{
    QFile file(dataDir + "/icons.qrc");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const Entry &e : entries()) {
        out << "    <file>icons/" << e.file << ".png</file>\n";
        out << "    <file>icons/" << e.file << "-16.png</file>\n";
    }
    out << "</qresource>\n</RCC>\n";
    return true;
}

bool writeLicenses(const QString &iconDir)
{
    QFile file(iconDir + "/LICENSES.md");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "# Where the icons come from\n\n"
           "The PNG files in this folder were rendered once by `make_icons.sh` from two free\n"
           "sources and are shipped inside the program; neither source is needed at run time.\n\n"
           "- **Breeze icon theme** (Debian package `breeze-icon-theme`), Copyright 2014 Uri Herrera,\n"
           "  licensed under the GNU Lesser General Public License, version 3 or later\n"
           "  (LGPL-3.0-or-later), https://invent.kde.org/frameworks/breeze-icons\n"
           "- **Noto Color Emoji** (Debian package `fonts-noto-color-emoji`), Copyright 2013-2017\n"
           "  Google Inc. and Arjen Nienhuis; the font is licensed under the SIL Open Font License,\n"
           "  version 1.1 (OFL-1.1), and the same artwork as image files under the Apache License,\n"
           "  version 2.0, https://github.com/googlefonts/noto-emoji\n\n"
           "The full licence texts are in /usr/share/doc/breeze-icon-theme/copyright and\n"
           "/usr/share/doc/fonts-noto-color-emoji/copyright on a Debian system.\n\n"
           "Each picture exists as `<n>.png` (32x32) and `<n>-16.png` (16x16). `g0` holds the\n"
           "program's icons, `g1` one icon per species id, `g2` the printout icons, `tray/g0` the\n"
           "reminder program's icons.\n\n"
           "| file | shown for | source |\n|---|---|---|\n";
    for (const Entry &e : entries())
        out << "| `" << e.file << "` | " << e.meaning << " | " << describeSource(e) << " |\n";
    return true;
}

// All pictures on a white sheet, large and small, to look at after a change.
void writeSheet(const QString &path, const QList<QPair<QString, QPair<QImage, QImage>>> &made)
{
    const int cols = 10, cellW = 110, cellH = 100;
    const int rows = (int(made.size()) + cols - 1) / cols;
    QImage sheet(cols * cellW, rows * cellH, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont font;
    font.setPixelSize(11);
    painter.setFont(font);
    for (int i = 0; i < made.size(); ++i) {
        const int x = (i % cols) * cellW, y = (i / cols) * cellH;
        painter.drawImage(QRect(x + 8, y + 8, 64, 64), made[i].second.first);
        painter.drawImage(x + 78, y + 8, made[i].second.first);
        painter.drawImage(x + 78, y + 50, made[i].second.second);
        painter.drawText(QRect(x, y + 76, cellW, 18), Qt::AlignCenter, made[i].first);
    }
    painter.end();
    sheet.save(path);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_icons <data folder> [contact sheet.png]\n");
        return 2;
    }
    const QString dataDir = QString::fromLocal8Bit(argv[1]);
    const QString iconDir = dataDir + "/icons";
    int failures = 0;
    QList<QPair<QString, QPair<QImage, QImage>>> made;
    for (const Entry &e : entries()) {
        const QImage large = make(e, 32);
        const QImage small = make(e, 16);
        const QString base = iconDir + '/' + e.file;
        QDir().mkpath(QFileInfo(base).path());
        if (large.isNull() || small.isNull() || !large.save(base + ".png") || !small.save(base + "-16.png")) {
            std::fprintf(stderr, "failed: %s\n", qPrintable(e.file));
            ++failures;
            continue;
        }
        made.append({e.file, {large, small}});
    }
    if (!writeQrc(dataDir) || !writeLicenses(iconDir))
        ++failures;
    if (argc > 2)
        writeSheet(QString::fromLocal8Bit(argv[2]), made);
    return failures == 0 ? 0 : 1;
}
