#pragma once

#include "core/registry/SqlRegistry.h"

#include <QString>

#include <memory>

// Which registry a station uses, and opening it.
namespace RegistrySetup {

inline constexpr const char* FileName = "registry.sqlite";
inline constexpr const char* ConfigName = "rondelmaker.conf";
inline constexpr const char* SystemConfig = "/etc/rondelmaker/rondelmaker.conf";

struct Choice {
    RegistryTarget target;
    QString source; // where the setting came from: the command line, a file, or the default
    QString error;  // a setting that cannot be used: nothing may print
};

// The registry named on the command line, else by "registry=" in the state
// folder's rondelmaker.conf, else in the administrator's, else the SQLite
// file beside state.json; its deadline from "registry_timeout=" (seconds)
// in the same files.
Choice choose(const QString& stateDir, const QString& commandLine = {},
              const QString& systemConfig = QString::fromLatin1(SystemConfig));

// Opens the registry, made where there is none when `mayCreate`. One that
// was made just now takes the last job of the folder's state.json, so that
// the history starts with it and its numbering goes on.
std::unique_ptr<SqlRegistry> open(const RegistryTarget& target, const QString& stateDir,
                                  bool mayCreate = true);

} // namespace RegistrySetup
