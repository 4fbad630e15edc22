#include "worksheet/WorksheetText.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "platform/ui/QtFileWrite.h"

namespace ws {

rt::Text EditorToCore(const QString& editor) {
  rt::Text out;
  out.reserve(static_cast<size_t>(editor.size()) + static_cast<size_t>(editor.count('\n')));
  for (const QChar c : editor) {
    if (c == QLatin1Char('\n')) out.push_back(u'\r');
    out.push_back(c.unicode());
  }
  return out;
}

QString NormalizeLineEnds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString CoreToEditor(const rt::Text& core) {
  return NormalizeLineEnds(QString::fromUtf16(core.data(), static_cast<qsizetype>(core.size())));
}

namespace {

// Where a document holds a preferred stand-in itself, the next free one is taken in this order:
// the private-use area; then lone low surrogates, which no file that opens holds (the decoders
// refuse them); then any other character but a line break, a held one or a high surrogate (which
// would pair with the character after it).
const std::vector<char16_t>& StandInOrder() {
  static const std::vector<char16_t> order = [] {
    std::vector<char16_t> o;
    for (char32_t c = 0xE000; c <= 0xF8FF; ++c) o.push_back(static_cast<char16_t>(c));
    for (char32_t c = 0xDC00; c <= 0xDFFF; ++c) o.push_back(static_cast<char16_t>(c));
    const auto& held = EditorStandIns::kHeld;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
      const bool unfit = c == u'\n' || c == u'\r' || (c >= 0xD800 && c <= 0xDBFF) ||
                         std::find(std::begin(held), std::end(held), c) != std::end(held);
      if (!unfit) o.push_back(static_cast<char16_t>(c));
    }
    return o;
  }();
  return order;
}

// Each character of `from` in the text becomes the one at the same place in `to`.
QString Replace(QString text, const char16_t (&from)[EditorStandIns::kCount],
                const char16_t (&to)[EditorStandIns::kCount]) {
  for (QChar& c : text) {
    const auto* at = std::find(std::begin(from), std::end(from), c.unicode());
    if (at != std::end(from)) c = QChar(to[at - std::begin(from)]);
  }
  return text;
}

bool StartsWith(const QByteArray& bytes, const char* mark) {
  return bytes.startsWith(QByteArray(mark));
}

// Decodes with the decoder; false when the bytes are not valid in its encoding.
bool DecodeStrict(QStringDecoder::Encoding encoding, const QByteArray& bytes, QString& text) {
  QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
  text = decoder.decode(bytes);
  return !decoder.hasError();
}

}  // namespace

EditorStandIns EditorStandIns::Avoiding(const QString& text) {
  std::vector<bool> taken(0x10000, false);
  for (const QChar c : text) taken[c.unicode()] = true;
  EditorStandIns s;
  for (int i = 0; i < kCount; ++i) {
    char16_t chosen = s.standIn_[i];
    if (taken[chosen]) {
      const auto& order = StandInOrder();
      const auto free =
          std::find_if(order.begin(), order.end(), [&](char16_t c) { return !taken[c]; });
      // A text that holds every code unit leaves none free; no file that opens is such a text.
      if (free != order.end()) chosen = *free;
    }
    taken[chosen] = true;
    s.standIn_[i] = chosen;
  }
  return s;
}

QString EditorStandIns::ToEditor(QString text) const {
  return Replace(std::move(text), kHeld, standIn_);
}

QString EditorStandIns::FromEditor(QString text) const {
  return Replace(std::move(text), standIn_, kHeld);
}

bool EditorStandIns::Collide(const QString& text) const {
  return std::any_of(text.begin(), text.end(), [this](QChar c) {
    return std::find(std::begin(standIn_), std::end(standIn_), c.unicode()) != std::end(standIn_);
  });
}

QString DecodeWorksheetFile(const QByteArray& bytes, FileEncoding* encoding, bool* whole) {
  FileEncoding found = FileEncoding::kLatin1;
  QString text;
  bool complete = true;
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    // A UTF-16 mark decides, whatever follows: the code units are taken as they are, so that the
    // file is written back with the same units. An odd byte at the end is no part of the text.
    found = StartsWith(bytes, "\xFF\xFE") ? FileEncoding::kUtf16Le : FileEncoding::kUtf16Be;
    const bool little = found == FileEncoding::kUtf16Le;
    const qsizetype units = (bytes.size() - 2) / 2;
    text.resize(units);
    for (qsizetype u = 0; u < units; ++u) {
      const auto lo = static_cast<unsigned char>(bytes[2 + 2 * u + (little ? 0 : 1)]);
      const auto hi = static_cast<unsigned char>(bytes[2 + 2 * u + (little ? 1 : 0)]);
      text[u] = QChar(static_cast<char16_t>(hi << 8 | lo));
    }
    complete = bytes.size() % 2 == 0;
  } else if (StartsWith(bytes, "\xEF\xBB\xBF") && DecodeStrict(QStringDecoder::Utf8, bytes, text)) {
    // The decoder drops the mark; it is written again from the encoding.
    found = FileEncoding::kUtf8Bom;
  } else {
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; });
    if (!ascii && DecodeStrict(QStringDecoder::Utf8, bytes, text)) {
      found = FileEncoding::kUtf8;
    } else {
      text = QString::fromLatin1(bytes);
    }
  }
  if (encoding) *encoding = found;
  if (whole) *whole = complete;
  return NormalizeLineEnds(text);
}

QByteArray EncodeWorksheetFile(const QString& editor, FileEncoding encoding) {
  QString text = NormalizeLineEnds(editor);
  if (!text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  switch (encoding) {
    case FileEncoding::kLatin1: {
      const bool fits =
          std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
      return fits ? text.toLatin1() : text.toUtf8();
    }
    case FileEncoding::kUtf8:
      return text.toUtf8();
    case FileEncoding::kUtf8Bom:
      return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case FileEncoding::kUtf16Le:
    case FileEncoding::kUtf16Be: {
      // Unit by unit behind the mark, as it was read: nothing is checked or replaced.
      const bool little = encoding == FileEncoding::kUtf16Le;
      QByteArray bytes(little ? "\xFF\xFE" : "\xFE\xFF");
      bytes.reserve(2 + 2 * text.size());
      for (const QChar c : text) {
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        const char hi = static_cast<char>(c.unicode() >> 8);
        bytes.append(little ? lo : hi).append(little ? hi : lo);
      }
      return bytes;
    }
  }
  return text.toUtf8();
}

bool ReadWorksheetFile(const QString& path, QString& editorText, FileEncoding* encoding,
                       QString* failure) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  bool whole = true;
  const QString text = DecodeWorksheetFile(bytes, encoding, &whole);
  if (!whole) {
    if (failure) *failure = QStringLiteral("it ends in half a UTF-16 character");
    return false;
  }
  editorText = text;
  return true;
}

namespace {

enum class Atomic { kWritten, kNoTemporaryFile, kFailed };

Atomic WriteAtomically(const QString& path, const QByteArray& bytes) {
  switch (ui::WriteWholeFile(path, bytes)) {
    case ui::WholeWrite::kWritten:
      return Atomic::kWritten;
    case ui::WholeWrite::kNoNewFile:
      return Atomic::kNoTemporaryFile;
    case ui::WholeWrite::kNotAFile:
    case ui::WholeWrite::kFailed:
      break;
  }
  return Atomic::kFailed;
}

// The atomic write again for an existing file, through a temporary file of a short name of its
// own beside it: QSaveFile's temporary file takes the file's name and a suffix, which a name near
// the system's length limit leaves no room for. The file keeps its permissions.
Atomic WriteBeside(const QString& file, const QByteArray& bytes) {
  QTemporaryFile temp(QFileInfo(file).absolutePath() + QStringLiteral("/ms-XXXXXX.tmp"));
  if (!temp.open()) return Atomic::kNoTemporaryFile;
  if (temp.write(bytes) != bytes.size() || !temp.flush() || ::fsync(temp.handle()) != 0 ||
      !temp.setPermissions(QFile::permissions(file)) ||
      ::rename(QFile::encodeName(temp.fileName()).constData(),
               QFile::encodeName(file).constData()) != 0) {
    return Atomic::kFailed;
  }
  temp.setAutoRemove(false);  // it is the file now
  return Atomic::kWritten;
}

// Writes the bytes from the start of the open file, cuts it to their length and flushes them to
// the disk.
bool WriteOver(QFile& file, const QByteArray& bytes) {
  return file.seek(0) && file.write(bytes) == bytes.size() && file.flush() &&
         file.resize(bytes.size()) && ::fsync(file.handle()) == 0;
}

// Writes over an existing file where its folder takes no temporary file. Its old bytes go first to
// a copy in the system's temporary folder, flushed to the disk, so that they are not lost if the
// program stops half-way; a write that fails (a full disk, a size limit) puts them back. The new
// bytes overwrite the old ones before the file grows, so the old bytes fit where they were.
bool WriteInPlace(const QString& path, const QByteArray& bytes, WriteFailure& failure) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return false;
  const QByteArray old = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/mathsheet-XXXXXX.txt"));
  if (!copy.open() || copy.write(old) != old.size() || !copy.flush() ||
      ::fsync(copy.handle()) != 0) {
    failure.reason = WriteFailure::kNoBackup;
    return false;
  }
  if (WriteOver(file, bytes)) return true;
  if (!WriteOver(file, old)) {
    copy.setAutoRemove(false);
    failure.reason = WriteFailure::kNotRestored;
    failure.keptIn = copy.fileName();
  }
  return false;
}

}  // namespace

bool WriteWorksheetFile(const QString& path, const QString& text, FileEncoding encoding,
                        WriteFailure* failure) {
  WriteFailure local;
  WriteFailure& why = failure ? *failure : local;
  why = WriteFailure{WriteFailure::kFailed, QString()};
  if (path.isEmpty()) return false;
  // A device, a pipe or a folder under the name is never replaced by a file, nor written to.
  const QFileInfo info(path);
  if (ui::TakenByNonFile(path)) {
    why.reason = WriteFailure::kNotAFile;
    return false;
  }
  const QByteArray bytes = EncodeWorksheetFile(text, encoding);
  Atomic atomic = WriteAtomically(path, bytes);
  // A new file has nothing to keep: the failed atomic write is the answer. An existing one (the
  // file itself, where the name is a link) gets a second atomic try.
  const QString file = info.canonicalFilePath();
  if (atomic != Atomic::kWritten && info.isFile()) atomic = WriteBeside(file, bytes);
  if (atomic == Atomic::kFailed) return false;  // the file is as it was
  // Where the folder takes no temporary file at all (no right to create one), the file is written
  // over in place, if it may be written.
  if (atomic == Atomic::kNoTemporaryFile &&
      (!info.isFile() || !info.isWritable() || !WriteInPlace(file, bytes, why))) {
    return false;
  }
  why.reason = WriteFailure::kNone;
  return true;
}

QString SaveFailureText(const WriteFailure& failure, const QString& path) {
  QString what = QStringLiteral("The worksheet could not be saved");
  if (failure.reason == WriteFailure::kNotAFile) {
    what += QStringLiteral(" (not a regular file)");
  } else if (failure.reason == WriteFailure::kNoBackup) {
    what += QStringLiteral(" (no copy of the old file could be made first)");
  } else if (failure.reason == WriteFailure::kNotRestored) {
    what +=
        QStringLiteral(" (the old file's text is kept in ") + failure.keptIn + QStringLiteral(")");
  }
  return what + QStringLiteral(": ") + path;
}

QString FileTitle(const QString& path) {
  const qsizetype slash =
      std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace ws
