#pragma once
// The picture formats Qt does not read itself, as an image plugin of our own,
// so that every QImageReader in the program (the picture boxes, the
// thumbnails, the printouts) reads them like any other file:
//
//   pcx  ZSoft Paintbrush pictures, decoded by GraphicsMagick;
//   wmf  Windows metafiles (with or without the placeable header), drawn by
//        GraphicsMagick through libwmf;
//   emf  enhanced metafiles, turned into SVG by libemf2svg and drawn by Qt SVG.
//
// A file is claimed by its first bytes only when they are a well-formed header
// of its kind, and a metafile's records are walked before a library sees them:
// a truncated or damaged file is refused here, cleanly, instead of being handed
// to a decoder that might run past its end. The metafiles are drawn at the
// screen's 96 pixels to the inch, the size their header gives.
//
// The plugin is static, linked whole into the platform library, so both
// programs and every test have it without a plugin folder to find.

#include <QImageIOHandler>
#include <QImageIOPlugin>

class PictureFormatsPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "picture_formats.json")

public:
    Capabilities capabilities(QIODevice *device, const QByteArray &format) const override;
    QImageIOHandler *create(QIODevice *device, const QByteArray &format = QByteArray()) const override;
};

namespace picture_formats {

enum class Kind { None, Pcx, Wmf, Emf };

// The kind of picture the bytes at the start of a file say it is; None for
// anything else. Sixty-four bytes or more are enough for every kind.
Kind kindOfHeader(const QByteArray &head);

} // namespace picture_formats
