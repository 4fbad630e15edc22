// Saving the graph's picture as a bitmap file, and the framed capture: a rectangle framed with the
// mouse on the picture goes to the clipboard as a picture and is saved as a bitmap.
//
// Other windows save pictures through SaveGraphBitmap(path) and WriteBitmap(picture, path)
// (GraphImage.h): the animation frames, for example, are written with them.
#include <QDir>
#include <QFileInfo>

#include "graph/GraphImage.h"
#include "graph/frmGraph.h"
#include "language/Utilities.h"
#include "platform/ui/QtUiServices.h"

namespace gr {

bool WriteBitmap(const QImage& picture, const QString& path) {
  if (picture.isNull() || path.isEmpty()) return false;
  // A bitmap file has no alpha channel: the opaque RGB picture is written.
  return picture.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

bool WriteBitmap(const draw::DrawTarget& picture, const QString& path) {
  return WriteBitmap(picture.Image(), path);
}

bool SaveGraphBitmap(const QString& path) {
  frmGraph* w = frmGraph::Instance();
  if (w == nullptr) return false;
  return WriteBitmap(w->Display(), path);
}

QString PictureFileFor(const QString& chosenName) {
  const QFileInfo info(chosenName);
  // The title after the last "/" (QFileInfo) and after the last "\" (FileTitleNoExt).
  const QString title = ui::ToQString(ms::FileTitleNoExt(ui::FromQString(info.fileName())));
  if (title.isEmpty()) return {};
  return QDir(info.absolutePath()).filePath(title + QStringLiteral(".bmp"));
}

}  // namespace gr
