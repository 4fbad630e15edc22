#include "worksheet/WorksheetText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

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

// Characters the editor would turn into line breaks, and the private-use characters that stand
// for them in the editor.
constexpr char16_t kEditorStandIns[][2] = {
    {0x2028, 0xF028}, {0x2029, 0xF029}, {0xFDD0, 0xF0D0}, {0xFDD1, 0xF0D1}};

QString Swap(QString text, int from) {
  for (QChar& c : text) {
    for (const auto& pair : kEditorStandIns) {
      if (c.unicode() == pair[from]) c = QChar(pair[1 - from]);
    }
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

QString ToEditorChars(QString text) {
  return Swap(std::move(text), 0);
}

QString FromEditorChars(QString text) {
  return Swap(std::move(text), 1);
}

QString DecodeWorksheetFile(const QByteArray& bytes, FileEncoding* encoding) {
  FileEncoding found = FileEncoding::kLatin1;
  QString text;
  // The decoders drop a leading byte-order mark; it is written again from the encoding.
  const struct {
    const char* mark;
    FileEncoding encoding;
    QStringDecoder::Encoding decoder;
  } marked[] = {{"\xEF\xBB\xBF", FileEncoding::kUtf8Bom, QStringDecoder::Utf8},
                {"\xFF\xFE", FileEncoding::kUtf16Le, QStringDecoder::Utf16LE},
                {"\xFE\xFF", FileEncoding::kUtf16Be, QStringDecoder::Utf16BE}};
  bool decoded = false;
  for (const auto& m : marked) {
    if (StartsWith(bytes, m.mark) && (m.decoder == QStringDecoder::Utf8 || bytes.size() % 2 == 0) &&
        DecodeStrict(m.decoder, bytes, text)) {
      found = m.encoding;
      decoded = true;
      break;
    }
  }
  if (!decoded) {
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; });
    if (!ascii && DecodeStrict(QStringDecoder::Utf8, bytes, text)) {
      found = FileEncoding::kUtf8;
    } else {
      text = QString::fromLatin1(bytes);
    }
  }
  if (encoding) *encoding = found;
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
      QStringEncoder encoder(
          encoding == FileEncoding::kUtf16Le ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
          QStringEncoder::Flag::WriteBom);
      return encoder.encode(text);
    }
  }
  return text.toUtf8();
}

bool ReadWorksheetFile(const QString& path, QString& editorText, FileEncoding* encoding) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  editorText = DecodeWorksheetFile(bytes, encoding);
  return true;
}

namespace {

bool WriteAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool WriteDirectly(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const bool written = file.write(bytes) == bytes.size() && file.flush();
  file.close();
  return written && file.error() == QFileDevice::NoError;
}

}  // namespace

bool WriteWorksheetFile(const QString& path, const QString& text, FileEncoding encoding) {
  if (path.isEmpty()) return false;
  const QByteArray bytes = EncodeWorksheetFile(text, encoding);
  if (WriteAtomically(path, bytes)) return true;
  // A failed atomic write has left the file as it was. Where the folder takes no temporary file
  // (no right to create one, a name too long for one more suffix) but the file itself may be
  // written, it is written over in place.
  const QFileInfo info(path);
  return info.isFile() && info.isWritable() && WriteDirectly(path, bytes);
}

QString FileTitle(const QString& path) {
  const qsizetype slash =
      std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace ws
