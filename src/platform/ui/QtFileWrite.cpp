#include "platform/ui/QtFileWrite.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cctype>

namespace ui {

bool TakenByNonFile(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isFile();
}

WholeWrite WriteWholeFile(const QString& path, const std::function<bool(QIODevice&)>& fill) {
  if (path.isEmpty()) return WholeWrite::kNoNewFile;
  if (TakenByNonFile(path)) return WholeWrite::kNotAFile;
  // QSaveFile writes to a new file beside the name, remembers any failed write and renames the
  // file over the name at commit only when every write and the flush succeeded.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return WholeWrite::kNoNewFile;
  if (!fill(file)) {
    file.cancelWriting();
    return WholeWrite::kFailed;
  }
  return file.commit() ? WholeWrite::kWritten : WholeWrite::kFailed;
}

WholeWrite WriteWholeFile(const QString& path, const QByteArray& bytes) {
  return WriteWholeFile(path,
                        [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

namespace {

// Reads the blanks and line ends at `at` and the decimal number after them; false when there is no
// number there.
bool ReadNumber(const QByteArray& bytes, qsizetype& at, qint64& number) {
  while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
  const qsizetype start = at;
  number = 0;
  while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) &&
         at - start < 18) {
    number = number * 10 + (bytes[at] - '0');
    ++at;
  }
  return at > start;
}

bool ReadWord(const QByteArray& bytes, qsizetype& at, const char* word) {
  while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
  const QByteArray w(word);
  if (bytes.mid(at, w.size()) != w) return false;
  at += w.size();
  return true;
}

// A cross-reference entry is 20 bytes: a 10-digit offset, a blank, a 5-digit generation, a blank,
// "n" (in use) or "f" (free) and a two-byte line end.
constexpr qsizetype kXrefEntry = 20;

}  // namespace

bool PdfComplete(const QByteArray& pdf) {
  if (!pdf.startsWith("%PDF-")) return false;
  // The last line is "%%EOF" with its line end: a file cut even in that line end is not whole.
  if (!pdf.endsWith("%%EOF\n") && !pdf.endsWith("%%EOF\r\n") && !pdf.endsWith("%%EOF\r")) {
    return false;
  }
  const qsizetype startxref = pdf.lastIndexOf("startxref");
  if (startxref < 0) return false;
  qsizetype at = startxref + 9;
  qint64 table = 0;
  if (!ReadNumber(pdf, at, table) || !ReadWord(pdf, at, "%%EOF")) return false;
  if (at < pdf.size() - 2 || table <= 0 || table >= startxref) return false;
  at = table;
  if (!ReadWord(pdf, at, "xref")) return false;
  // Subsections "first count" with their entries, up to the trailer.
  qint64 first = 0, count = 0;
  while (ReadNumber(pdf, at, first) && ReadNumber(pdf, at, count)) {
    while (at < pdf.size() && (pdf[at] == ' ' || pdf[at] == '\r' || pdf[at] == '\n')) ++at;
    if (count < 0 || at + count * kXrefEntry > startxref) return false;
    for (qint64 i = 0; i < count; ++i, at += kXrefEntry) {
      const QByteArray entry = pdf.mid(at, kXrefEntry);
      if (entry[17] != 'n') continue;
      qsizetype e = 0;
      qint64 offset = 0, generation = 0;
      if (!ReadNumber(entry, e, offset) || !ReadNumber(entry, e, generation)) return false;
      if (offset <= 0 || offset >= table) return false;
      const QByteArray head = QByteArray::number(first + i) + ' ' + QByteArray::number(generation) +
                              QByteArrayLiteral(" obj");
      if (pdf.mid(offset, head.size()) != head) return false;
    }
  }
  return ReadWord(pdf, at, "trailer") && at < startxref;
}

}  // namespace ui
