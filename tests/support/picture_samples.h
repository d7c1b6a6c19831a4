#pragma once
// Picture files of the kinds Qt does not read itself, written byte by byte
// from their formats. Each shows the same picture: its left half red, its
// right half blue, `width` x `height` pixels (a metafile at 96 to the inch).

#include <QByteArray>
#include <QString>

namespace picture_samples {

QByteArray pcx24(int width, int height); // three colour planes, run-length coded
QByteArray pcx8(int width, int height);  // one plane, 256-colour palette at the end
QByteArray wmf(int width, int height);   // with the placeable header
QByteArray emf(int width, int height);

// The sample of a kind by its extension ("pcx", "wmf", "emf").
QByteArray sample(const QString &extension, int width, int height);
// Writes `bytes` to `path`; false when it cannot.
bool write(const QString &path, const QByteArray &bytes);

} // namespace picture_samples
