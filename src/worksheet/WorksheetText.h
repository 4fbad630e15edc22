// The worksheet text at the window's edges. The editor holds LF line ends; the worksheet language
// reads CR LF; worksheet files have CR LF line ends in the encoding they were read in. Every
// conversion between these forms is here, so the window converts in one place.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/runtime/Runtime.h"

namespace ws {

// Editor text (LF) to the core's worksheet text (CR LF).
rt::Text EditorToCore(const QString& editor);
// Core or file text with CR LF, LF or lone CR line ends to editor text (LF).
QString CoreToEditor(const rt::Text& core);
QString NormalizeLineEnds(QString text);

// The text editor cannot hold every character as it is: it breaks lines at U+2028 and U+2029 and
// at the two frame marks U+FDD0 and U+FDD1. In the editor these stand as private-use characters
// (U+F028, U+F029, U+F0D0, U+F0D1); ToEditorChars puts them in, FromEditorChars takes them out,
// so the worksheet keeps them and Execute reads them as what they are, not as line breaks.
QString ToEditorChars(QString text);
QString FromEditorChars(QString text);

// How a worksheet file was encoded; a file is written back the way it was read.
enum class FileEncoding { kLatin1, kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be };

// File bytes to text with LF line ends. A byte-order mark decides UTF-16 (either byte order) or
// UTF-8; without one, bytes that form valid UTF-8 with some non-ASCII character are read as UTF-8,
// anything else byte for byte as Latin-1, so every file reads without loss.
QString DecodeWorksheetFile(const QByteArray& bytes, FileEncoding* encoding = nullptr);
// Text to file bytes: CR LF line ends, and one CR LF at the end unless the text already ends with
// a line break. Latin-1 text with a character beyond one byte is written as UTF-8. So a file that
// was opened is written back byte for byte in its own encoding, apart from its line breaks.
QByteArray EncodeWorksheetFile(const QString& text, FileEncoding encoding = FileEncoding::kLatin1);

// Whole-file read, and write: atomic (QSaveFile: a failed write leaves the old file untouched);
// where no temporary file can be made beside an existing file, the file itself is written over.
bool ReadWorksheetFile(const QString& path, QString& text, FileEncoding* encoding = nullptr);
bool WriteWorksheetFile(const QString& path, const QString& text,
                        FileEncoding encoding = FileEncoding::kLatin1);

// The name of a file without its folder ("C:\a\b.txt" and "/a/b.txt" give "b.txt").
QString FileTitle(const QString& path);

}  // namespace ws
