#include "language/Settings.h"

namespace ms {

SettingsState Settings;

void ResetSettings() {
  Settings = SettingsState{};
}

}  // namespace ms
