// The worksheet's undo history: snapshots of the text that was selected when Copy, Cut or Delete
// ran, newest last, at most 100; the oldest is dropped when a 101st arrives.
#pragma once

#include <QString>
#include <QStringList>

namespace ws {

class UndoHistory {
 public:
  static constexpr int kCapacity = 100;

  void Push(const QString& snapshot);
  // Takes the newest snapshot; false when the history is empty.
  bool Pop(QString& snapshot);
  void Clear() { slots_.clear(); }
  int Count() const { return static_cast<int>(slots_.size()); }
  // Slot 1 is the oldest, slot Count() the newest; "" outside.
  QString Slot(int index) const;

 private:
  QStringList slots_;
};

}  // namespace ws
