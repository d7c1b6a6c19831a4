#include "core/picture_files.h"

#include "platform/dates.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/settings.h"
#include "core/system.h"
#include "platform/controls/vb_image.h"
#include "platform/db/database.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <vector>

namespace picture_files {

namespace {

const QString kFormats = QStringLiteral("*.bmp;*.dib;*.gif;*.ico;*.jpg;*.wmf;*.emf;*.pcx");

const QString kUnsupportedChosen =
    QStringLiteral("You have selected an unsupported picture format. Please select a picture format from the list of "
                   "supported picture formats.");
const QString kUnsupportedLoaded =
    QStringLiteral("You have selected an unsupported picture format. Please import a different picture.");
const QString kInvalidFormatTitle = QStringLiteral("Invalid picture format");
const QString kNotAFile =
    QStringLiteral("\"%1\" is not a picture file that can be imported. Please select a picture file.");

// True when the file's extension is one of the formats the import offers.
bool hasPictureFormat(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return !suffix.isEmpty() && kFormats.split(QLatin1Char(';')).contains(QStringLiteral("*.") + suffix);
}

QString largePictureText(const QString &title, qint64 length)
{
    // Kilobytes rounded half to even, with the locale's thousands separator.
    const qlonglong kb = qlonglong(std::nearbyint(double(length) / 1000.0));
    return QStringLiteral("Using large picture files may cause ") + funGetAppTitle()
           + QStringLiteral(" to behave slowly.\r\nThe picture file you selected \"") + title + QStringLiteral("\" is ")
           + QLocale().toString(kb) + QStringLiteral(" KB in size.\r\n\r\n")
           + QStringLiteral("Would you still like to use this picture file?");
}

// The file the user chose, checked for its format and size; "" when the user
// gave up.
QString choosePictureFile(QWidget *form)
{
    QString start = settings::text(Setting::PhotoSite3);
    if (start.isEmpty())
        start = funGetSamplesFolder();
    for (;;) {
        ui::FileRequest r;
        r.title = QStringLiteral("Import picture file...");
        r.filter = QStringLiteral(
            "Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|GIF Images (*.gif)|*.gif|Icons (*.ico)|*.ico|JPEG Images "
            "(*.jpg)|*.jpg|Metafiles (*.wmf;*.emf)|*.wmf;*.emf|PCX Files (*.pcx)|*.pcx|All Files "
            "(*.bmp;*.dib;*.gif;*.ico;*.jpg;*.wmf;*.emf;*.pcx)|*.bmp;*.dib;*.gif;*.ico;*.jpg;*.wmf;*.emf;*.pcx");
        r.filterIndex = 7;
        r.defaultExt = kFormats;
        r.initialDir = start;
        r.save = false;
        const QString chosen = ui::dialogs().fileDialog(form, r);
        if (chosen.isEmpty())
            return {};
        if (!hasPictureFormat(chosen)) {
            if (ui::dialogs().msgBox(form, kUnsupportedChosen, ui::OKCancel | ui::Exclamation, kInvalidFormatTitle)
                == ui::OK)
                continue;
            return {};
        }
        // Only a plain file is read: a pipe or a device named like a picture
        // would block the copy for good (or never end), and a folder is no picture.
        const QFileInfo fi(chosen);
        if (!fi.isFile()) {
            if (ui::dialogs().msgBox(form, kNotAFile.arg(fi.fileName()), ui::OKCancel | ui::Exclamation,
                                     kInvalidFormatTitle)
                == ui::OK)
                continue;
            return {};
        }
        if (fi.size() > kLargePicture) {
            const int answer =
                ui::dialogs().msgBox(form, largePictureText(fi.fileName(), fi.size()),
                                     ui::YesNoCancel | ui::Exclamation, QStringLiteral("Large picture warning"));
            if (answer == ui::No)
                continue;
            if (answer != ui::Yes)
                return {};
        }
        return chosen;
    }
}

// The canonical folder of a path, for comparing folders whatever way they were written.
QString canonicalFolder(const QString &folder)
{
    const QString c = QDir(folder).canonicalPath();
    return c.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : c;
}

} // namespace

PictureBox pictureBoxOf(const QWidget *form)
{
    if (form && form->objectName() == QLatin1String("frm_pet_detail"))
        return {2880, 5100};
    return {3165, 4320};
}

VbImage *imageOf(const QWidget *form)
{
    return form ? form->findChild<VbImage *>(QStringLiteral("ImagePicture")) : nullptr;
}

QLabel *labelOf(const QWidget *form)
{
    return form ? form->findChild<QLabel *>(QStringLiteral("lblPicture")) : nullptr;
}

PictureFrame funFitPicture(int width, int height, int boxSize, int boxLeft, bool square)
{
    double w = width, h = height;
    if (square) {
        w = h = boxSize;
    } else if (width <= height) {
        h = height <= boxSize ? height : boxSize;
        w = height > 0 ? width * (h / height) : width;
    } else {
        w = width <= boxSize ? width : boxSize;
        h = width > 0 ? height * (w / width) : height;
    }
    PictureFrame f;
    f.width = int(std::lround(w));
    f.height = int(std::lround(h));
    f.top = kFittedTop;
    f.left = int(std::lround(boxLeft + (boxSize - w) / 2.0));
    return f;
}

int funNextPictureNumber(const QStringList &names)
{
    static const QRegularExpression stored(QStringLiteral("^ZB_([0-9]{5})(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    std::vector<bool> taken(size_t(kLastPictureNumber) + 1, false);
    for (const QString &name : names) {
        const auto m = stored.match(name);
        if (m.hasMatch())
            taken[size_t(m.captured(1).toInt())] = true;
    }
    for (int n = 1; n <= kLastPictureNumber; ++n)
        if (!taken[size_t(n)])
            return n;
    return 0;
}

QString funGetNextPictureName(const QString &folder, const QString &sourceName)
{
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    const int n = funNextPictureNumber(names);
    if (n == 0)
        return {};
    QString name = QStringLiteral("ZB_%1").arg(n, 5, 10, QLatin1Char('0'));
    // The last extension: "dog.show.JPG" is stored as a .jpg.
    const qsizetype dot = sourceName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && dot + 1 < sourceName.size())
        name += QLatin1Char('.') + sourceName.mid(dot + 1).toLower();
    return name;
}

void subImportPicture(QWidget *form)
{
    VbImage *image = imageOf(form);
    QLabel *label = labelOf(form);
    if (!image || !label)
        return;
    const QString chosen = choosePictureFile(form);
    if (chosen.isEmpty())
        return;

    QDir().mkpath(gPicturePath);
    const QString name = funGetNextPictureName(gPicturePath, QFileInfo(chosen).fileName());
    if (name.isEmpty()) {
        // Every number is in use: taking one would overwrite another record's picture.
        ui::dialogs().msgBox(form,
                             QStringLiteral("The pictures folder has no free picture name left. Please delete "
                                            "pictures you no longer need, then import this picture again."),
                             ui::OKOnly | ui::Exclamation, QStringLiteral("Import picture file..."));
        return;
    }
    const QString target = gPicturePath + name;
    Hourglass hourglass;
    if (!QFile::copy(chosen, target)) {
        // Nothing has changed yet: the window keeps the picture it shows.
        hourglass.release();
        ui::errorReport(75, QStringLiteral("Path/File access error"));
        return;
    }

    // The copy is read before the window changes: a file that is no picture
    // leaves the window with the picture (and the stored name) it had.
    VbImage probe;
    if (!probe.loadPicture(target)) {
        hourglass.release();
        if (probe.lastError() == 481)
            ui::dialogs().msgBox(form, kUnsupportedLoaded, ui::OKCancel | ui::Exclamation, kInvalidFormatTitle);
        else
            ui::errorReport(probe.lastError(), probe.lastErrorText());
        // The copy belongs to no record.
        QFile::remove(target);
        return;
    }
    label->setText(name);
    QCoreApplication::processEvents();
    subResetPicture(image);
    image->setPicture(probe.picture());
    const PictureBox box = pictureBoxOf(form);
    subSizePicture(image, box.size, box.left, false);
    QCoreApplication::processEvents();
}

void subClearPicture(QWidget *form, VbImage *image, QLabel *label)
{
    if (!image || !label)
        return;
    image->setPicture(QPixmap());
    image->hide();
    image->setStretch(false);
    image->loadPicture(gDefaultPicture);
    const PictureBox box = pictureBoxOf(form);
    subSizePicture(image, box.size, box.left, false);
    label->setText(QString());
    image->show();
}

void subClearPicture(QWidget *form) { subClearPicture(form, imageOf(form), labelOf(form)); }

void subSavePicture(QWidget *form, const QString &fileName)
{
    QLabel *label = labelOf(form);
    if (!label || label->text().isEmpty()) {
        ui::dialogs().msgBox(form, QStringLiteral("There is no picture, use 'Import Picture' to add a picture."),
                             ui::OKOnly | ui::Information);
        return;
    }
    funSavePictureAs(fileName);
}

bool funSavePictureAs(const QString &fileName)
{
    QWidget *owner = QApplication::activeWindow();
    ui::FileRequest r;
    r.title = QStringLiteral("Save picture as...");
    r.filter = QStringLiteral("All Files (*.*)|*.*");
    r.filterIndex = 1;
    r.fileName = fileName.mid(fileName.indexOf(QLatin1Char('_')) + 1);
    r.defaultExt = QStringLiteral("*.*");
    r.save = true;
    r.overwritePrompt = true;
    const QString chosen = ui::dialogs().fileDialog(owner, r);
    if (chosen.isEmpty())
        return false;

    const QString source = gPicturePath + fileName;
    const QFileInfo target(chosen);
    // The stored files are the records' own: writing over one (the picture
    // itself included) would lose a picture.
    if (target.exists() && canonicalFolder(target.absolutePath()) == canonicalFolder(gPicturePath)) {
        ui::dialogs().msgBox(owner,
                             QStringLiteral("The picture cannot be saved over a picture file that ") + funGetAppTitle()
                                 + QStringLiteral(" keeps in its pictures folder. Please choose another file name "
                                                  "or folder."),
                             ui::OKOnly | ui::Exclamation, QStringLiteral("Save picture as..."));
        return false;
    }
    // Nor over the files the records are kept in, which only the engine may touch.
    if (db::isOpenDatabaseFile(chosen)) {
        ui::dialogs().msgBox(owner,
                             QStringLiteral("The picture cannot be saved over a file that ") + funGetAppTitle()
                                 + QStringLiteral(" keeps its records in. Please choose another file name or folder."),
                             ui::OKOnly | ui::Exclamation, QStringLiteral("Save picture as..."));
        return false;
    }
    if (!QFileInfo(source).isFile()) {
        ui::errorReport(53, QStringLiteral("File not found"));
        return false;
    }

    Hourglass hourglass;
    subSetStatusText(QStringLiteral("Saving picture ") + chosen + QStringLiteral("..."));
    if (target.exists())
        QFile::remove(chosen);
    const bool copied = QFile::copy(source, chosen);
    subSetStatusText(QString());
    hourglass.release();
    if (!copied)
        ui::errorReport(75, QStringLiteral("Path/File access error"));
    return copied;
}

void subSizePicture(VbImage *image, int boxSize, int boxLeft, bool square)
{
    if (!image)
        return;
    const PictureFrame f = funFitPicture(image->Width(), image->Height(), boxSize, boxLeft, square);
    image->setWidth(f.width);
    image->setHeight(f.height);
    image->setTop(f.top);
    image->setLeft(f.left);
    image->setStretch(true);
    image->setVisible(true);
}

void subResetPicture(VbImage *image)
{
    if (!image)
        return;
    image->hide();
    image->setPicture(QPixmap());
    image->setHeight(kResetSide);
    image->setWidth(kResetSide);
    image->setTop(kResetTop);
    image->setLeft(kResetLeft);
    image->setStretch(false);
    image->setVisible(true);
}

QString funGetLocaleInfo(int infoType)
{
    switch (infoType) {
    case 31: return vbShortDateFormat();
    default: return {};
    }
}

} // namespace picture_files
