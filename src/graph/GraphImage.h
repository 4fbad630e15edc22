// Pictures of the graph window as bitmap files: the writer every saved picture goes through (the
// graph picture, a framed part of it, animation frames) and the rule that names a picture file
// after the name chosen in the save dialog.
#pragma once

#include <QImage>
#include <QString>

#include "platform/draw/DrawTarget.h"

namespace gr {

// The save dialog's filter and default extension for pictures.
inline constexpr char16_t kPictureFilter[] = u"Image File (*.bmp)|*.bmp";
inline constexpr char16_t kPictureExt[] = u"bmp";

// Writes a picture as a BMP file at exactly this path (created or replaced). False when the
// picture is empty, the name is taken by a device, a pipe or a folder, or the file could not be
// written; a failed write leaves the path as it was.
bool WriteBitmap(const QImage& picture, const QString& path);
bool WriteBitmap(const draw::DrawTarget& picture, const QString& path);

// Writes the graph window's picture (the whole picture as drawn, overlays included) as a BMP file
// at exactly this path. False without a graph window or when the file is not written.
bool SaveGraphBitmap(const QString& path);

// The file a picture is written to for a name chosen in the save dialog: that name, in the chosen
// folder (the current directory for a name without a folder), with ".bmp" added unless it ends in
// ".bmp" (any case), so that the name says what the file holds. "" when the name is empty.
QString PictureFileFor(const QString& chosenName);

}  // namespace gr
