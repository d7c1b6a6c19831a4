#pragma once
// Picture files: importing a picture into the pictures folder under a numbered
// name, clearing a window's picture back to the default picture, saving the
// stored file elsewhere, and fitting a picture into its box.
//
// A window that shows a stored picture carries two named controls:
//   - `lblPicture` (a QLabel): the stored file name relative to the pictures
//     folder, "" when the record has no picture of its own;
//   - `ImagePicture` (a VbImage): the picture, placed in twips by these
//     routines within its parent, which must not lay it out.
// The pet window (objectName "frm_pet_detail") fits its picture into a square
// of 2880 twips whose left edge is at 5100; every other window into a square
// of 3165 twips at 4320.  A window that has both controls needs nothing else:
// its picture menu calls subImportPicture(this), subClearPicture(this) and
// subSavePicture(this, lblPicture->text()), and it shows a stored picture with
// subResetPicture, loadPicture and subSizePicture(ImagePicture, box, false).

#include <QString>
#include <QStringList>

class QLabel;
class QWidget;
class VbImage;

namespace picture_files {

// Twips.
struct PictureBox {
    int size = 0; // the side of the square
    int left = 0; // its left edge
};
struct PictureFrame {
    int left = 0, top = 0, width = 0, height = 0;
};

constexpr int kFittedTop = 900;
constexpr int kResetTop = 960;
constexpr int kResetSide = 3165;
constexpr int kResetLeft = 4320;
constexpr int kLargePicture = 500000; // bytes; a larger file gets the warning
constexpr int kLastPictureNumber = 99999;

// The box of a window's picture (see above).
PictureBox pictureBoxOf(const QWidget *form);
// The window's `ImagePicture` and `lblPicture`, or null.
VbImage *imageOf(const QWidget *form);
QLabel *labelOf(const QWidget *form);

// Where a picture of `width` x `height` twips goes in the box: the longer side
// at most the box's side, the proportions kept (or the whole square when
// `square`), centred across the box, its top at 900.
PictureFrame funFitPicture(int width, int height, int boxSize, int boxLeft, bool square);

// The first number from 1 to 99999 that no name "ZB_nnnnn" (with or without an
// extension, in any case) in `names` takes; 0 when every one is taken.
int funNextPictureNumber(const QStringList &names);
// The first free stored name in `folder` for a file named `sourceName`:
// "ZB_" and the number in five digits, then "." and the source's last
// extension in small letters when it has one.  "" when no number is free.
QString funGetNextPictureName(const QString &folder, const QString &sourceName);

// The import command of a window's picture (see above).
void subImportPicture(QWidget *form);
// Shows the default picture in `image`, fitted into the window's box, and
// empties `label`.  The one-argument form uses the window's own controls.
void subClearPicture(QWidget *form, VbImage *image, QLabel *label);
void subClearPicture(QWidget *form);
// The save command: a window without a picture of its own is told so;
// otherwise funSavePictureAs.
void subSavePicture(QWidget *form, const QString &fileName);
// Copies the stored file `fileName` to a file the user chooses; True when the
// copy was made.  The stored files of the pictures folder are never written.
bool funSavePictureAs(const QString &fileName);
// Fits `image` into the box (funFitPicture) and turns Stretch on.
void subSizePicture(VbImage *image, int boxSize, int boxLeft, bool square);
// An empty square of 3165 twips at the top left of the other windows' box,
// Stretch off, so the next picture loaded takes its own size.
void subResetPicture(VbImage *image);

// The user's locale value of a locale information type; 31 is the short-date
// format ("M/d/yyyy").  "" for a type the program does not ask for.
QString funGetLocaleInfo(int infoType);

} // namespace picture_files
