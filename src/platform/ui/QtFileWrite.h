// Whole files written so that a failure loses nothing: worksheets, pictures and animation frames,
// and printed PDF files are written through here.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace ui {

// Whether the name is taken by something that is not a regular file: a device, a pipe or a
// folder (a link counts as what it names). Such a name is never written to nor replaced by a file.
bool TakenByNonFile(const QString& path);

// How a whole-file write ended.
enum class WholeWrite {
  kWritten,
  kNotAFile,   // the name is taken by a device, a pipe or a folder: nothing was written
  kNoNewFile,  // no new file could be made beside it (a missing folder, no right to create one)
  kFailed,     // a write, the flush or the renaming failed (a full disk): the name is as it was
};

// Writes a whole file: `fill` writes the content into a new file beside the name (false when it
// could not), and that file takes the name only once every byte of it is written and flushed to
// the disk. A failed write leaves whatever the name held as it was and no new file behind.
[[nodiscard]] WholeWrite WriteWholeFile(const QString& path,
                                        const std::function<bool(QIODevice&)>& fill);
[[nodiscard]] WholeWrite WriteWholeFile(const QString& path, const QByteArray& bytes);

// Whether the bytes are a whole PDF document: the cross-reference table where the trailer's
// "startxref" says, every object it lists starting at its byte offset, the trailer after it and
// the line "%%EOF" at the end. A write that fails cuts the file short there, or, where a later
// write succeeds again, moves the objects and the table after the loss away from where the
// document says they are.
bool PdfComplete(const QByteArray& pdf);

}  // namespace ui
