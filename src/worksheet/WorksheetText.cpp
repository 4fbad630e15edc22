#include "worksheet/WorksheetText.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
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

QString DecodeWorksheetFile(const QByteArray& bytes, bool* utf8) {
  if (utf8) *utf8 = false;
  bool ascii = true;
  for (const char b : bytes) {
    if (static_cast<unsigned char>(b) >= 0x80) {
      ascii = false;
      break;
    }
  }
  QString text;
  if (ascii) {
    text = QString::fromLatin1(bytes);
  } else {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    if (decoder.hasError()) {
      text = QString::fromLatin1(bytes);
    } else if (utf8) {
      *utf8 = true;
    }
  }
  return NormalizeLineEnds(text);
}

QByteArray EncodeWorksheetFile(const QString& editor, bool utf8) {
  QString text = NormalizeLineEnds(editor);
  if (!text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  bool latin1 = !utf8;
  for (const QChar c : text) {
    if (!latin1) break;
    if (c.unicode() > 0xFF) {
      latin1 = false;
      break;
    }
  }
  return latin1 ? text.toLatin1() : text.toUtf8();
}

bool ReadWorksheetFile(const QString& path, QString& editorText, bool* utf8) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  editorText = DecodeWorksheetFile(bytes, utf8);
  return true;
}

bool WriteWorksheetFile(const QString& path, const QString& editorText, bool utf8) {
  if (path.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = EncodeWorksheetFile(editorText, utf8);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString FileTitle(const QString& path) {
  const qsizetype slash =
      std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace ws
