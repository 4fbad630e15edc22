#include "worksheet/UndoHistory.h"

namespace ws {

void UndoHistory::Push(const QString& snapshot) {
  if (slots_.size() >= kCapacity) slots_.removeFirst();
  slots_.append(snapshot);
}

bool UndoHistory::Pop(QString& snapshot) {
  if (slots_.isEmpty()) return false;
  snapshot = slots_.takeLast();
  return true;
}

QString UndoHistory::Slot(int index) const {
  if (index < 1 || index > slots_.size()) return {};
  return slots_[index - 1];
}

}  // namespace ws
