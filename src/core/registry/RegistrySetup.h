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

// What a program does with the registry: a job records in it (made where
// there is none); a contact reads it and confirms what printed; the rest
// only read it. A program that does not record leaves a folder without a
// registry as it is, and reads an empty one; so too for a server database
// without the tables yet. A file whose folder is not there is no registry
// at all.
enum class Use { Record, Contact, Read };
// Never null: isOpen(), failure() and errorString() say how it went.
std::unique_ptr<LabelRegistry> openFor(Use use, RegistryTarget target, const QString& stateDir);

} // namespace RegistrySetup
