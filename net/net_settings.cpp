#include "net/net_settings.h"

#include <mutex>

namespace vexo::net {

namespace {

std::mutex& SettingsLock() {
  static std::mutex lock;
  return lock;
}

NetSettings& Settings() {
  static NetSettings settings;
  return settings;
}

}  // namespace

NetSettings GetNetSettings() {
  std::lock_guard<std::mutex> hold(SettingsLock());
  return Settings();
}

void SetNetSettings(const NetSettings& settings) {
  std::lock_guard<std::mutex> hold(SettingsLock());
  Settings() = settings;
}

}  // namespace vexo::net
