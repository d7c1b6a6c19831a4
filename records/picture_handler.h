#pragma once
// Everything about the photo gallery goes through funPictureHandler: the
// gallery view of the main window, adding and opening a picture in its
// window, deleting a picture's record (its file stays in the pictures folder)
// and printing it.

#include <QString>
#include <memory>

class QWidget;
class frm_picture;

namespace picture_handler {

// Codes: 1 add, 2 open picture `pictureID`, 3 delete it by its id, 20 delete
// the row of the window `form`, 5 show the gallery in view mode `viewMode`
// (0 large icons, 1 small icons, 3 report), 7 print the picture, 15 fill the
// gallery again. `text` is the title the delete question names. Any other
// code is refused with a message.
bool funPictureHandler(QWidget *form, int code, long pictureID, const QString &text, int viewMode);

bool funPictureAdd(QWidget *form);
bool funPictureEdit(QWidget *form, long pictureID);
// The picture window of add (pictureID 0) or of edit, made, bound and showing
// its picture, but not shown (owned by the caller); null when there is no
// such picture (the message has been shown) or it could not be read.
std::unique_ptr<frm_picture> funPictureWindow(QWidget *form, long pictureID);
bool funPictureDelete(QWidget *form, int code, long pictureID, const QString &title);
bool funPictureListShow(QWidget *form, int viewMode);
// Fills ListView_Picture from every picture, ordered by title; in the
// large-icon view each with its thumbnail, the default picture standing in
// for a file that is missing or is no picture.
bool funPictureRefreshList(QWidget *form, int viewMode);

// The main toolbar for the gallery.
void subPictureToolBar(QWidget *form);

} // namespace picture_handler
