// The worksheet text at the window's edges. The editor holds LF line ends; the worksheet language
// reads CR LF; worksheet files are single-byte text with CR LF line ends. Every conversion between
// these forms is here, so the window converts in one place.
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

// File bytes to editor text: bytes that form valid UTF-8 with some non-ASCII character are read
// as UTF-8 (utf8 set), anything else byte for byte as Latin-1, so every file reads without loss.
QString DecodeWorksheetFile(const QByteArray& bytes, bool* utf8 = nullptr);
// Editor text to file bytes: CR LF line ends, and one CR LF at the end unless the text already
// ends with a line break. Single-byte Latin-1 unless utf8 is asked for or a character does not fit
// in one byte; so a file that was opened is written back byte for byte in its own encoding.
QByteArray EncodeWorksheetFile(const QString& editor, bool utf8 = false);

// Whole-file read and atomic write (QSaveFile: a failed write leaves the old file untouched).
bool ReadWorksheetFile(const QString& path, QString& editorText, bool* utf8 = nullptr);
bool WriteWorksheetFile(const QString& path, const QString& editorText, bool utf8 = false);

// The name of a file without its folder ("C:\a\b.txt" and "/a/b.txt" give "b.txt").
QString FileTitle(const QString& path);

}  // namespace ws
