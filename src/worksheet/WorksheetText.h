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
// at the two frame marks U+FDD0 and U+FDD1. In the editor each of these stands as another
// character that the document does not hold itself, chosen per document (private-use characters
// first), so that saving maps back exactly the characters that were mapped in and every other
// character, private-use ones included, stays as it is.
class EditorStandIns {
 public:
  static constexpr int kCount = 4;
  // The characters the editor cannot hold.
  static constexpr char16_t kHeld[kCount] = {0x2028, 0x2029, 0xFDD0, 0xFDD1};

  // Stand-ins that occur nowhere in the text (worksheet text, without stand-ins).
  static EditorStandIns Avoiding(const QString& text);

  // Worksheet text to editor text and back.
  QString ToEditor(QString text) const;
  QString FromEditor(QString text) const;
  // True when the worksheet text holds one of these stand-ins as a character of its own: it
  // cannot go into the editor under them.
  bool Collide(const QString& text) const;

 private:
  // Each held character's own stand-in, taken where the document leaves it free.
  char16_t standIn_[kCount] = {0xF028, 0xF029, 0xF0D0, 0xF0D1};
};

// How a worksheet file was encoded; a file is written back the way it was read.
enum class FileEncoding { kLatin1, kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be };

// File bytes to text with LF line ends. A byte-order mark decides UTF-16 (either byte order, its
// code units taken as they are) or UTF-8; without one, bytes that form valid UTF-8 with some
// non-ASCII character are read as UTF-8, anything else byte for byte as Latin-1, so every file
// reads without loss. whole is false for a UTF-16 file of odd length: its last byte is no part of
// the text.
QString DecodeWorksheetFile(const QByteArray& bytes, FileEncoding* encoding = nullptr,
                            bool* whole = nullptr);
// Text to file bytes: CR LF line ends, and one CR LF at the end unless the text already ends with
// a line break. Latin-1 text with a character beyond one byte is written as UTF-8. So a file that
// was opened is written back byte for byte in its own encoding, apart from its line breaks.
QByteArray EncodeWorksheetFile(const QString& text, FileEncoding encoding = FileEncoding::kLatin1);

// Why a worksheet file was not written. The file as it was is kept in every case; only
// kNotRestored leaves it altered, with its old bytes in the copy `keptIn`.
struct WriteFailure {
  enum Reason {
    kNone,
    kFailed,       // the write failed (a full disk, a missing folder, no right to write)
    kNotAFile,     // the name is taken by something else: a device, a pipe, a folder
    kNoBackup,     // written over in place, but no copy of the old file could be made first
    kNotRestored,  // the write in place failed and the old bytes could not be put back
  } reason = kNone;
  QString keptIn;
};

// Whole-file read, and write. The write is atomic (a temporary file beside the file, renamed over
// it): a failed write leaves the old file untouched. Only where no temporary file can be made in
// the folder at all is an existing file written over in place, and then only once a copy of its
// old bytes lies elsewhere; a write in place that fails puts the old bytes back. A name that
// exists and is not a regular file is refused.
// A UTF-16 file of odd length is not read (failure says why): its last byte would be lost.
bool ReadWorksheetFile(const QString& path, QString& text, FileEncoding* encoding = nullptr,
                       QString* failure = nullptr);
bool WriteWorksheetFile(const QString& path, const QString& text,
                        FileEncoding encoding = FileEncoding::kLatin1,
                        WriteFailure* failure = nullptr);
// The box text of a failed save, naming the file.
QString SaveFailureText(const WriteFailure& failure, const QString& path);

// The name of a file without its folder ("C:\a\b.txt" and "/a/b.txt" give "b.txt").
QString FileTitle(const QString& path);

}  // namespace ws
