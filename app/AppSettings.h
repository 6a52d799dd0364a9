#pragma once

#include <QString>

// The program's settings. Machine-wide: the database folder, read-only, under organisation
// "Norbeln" and application "Vendrix" (on Linux $XDG_CONFIG_DIRS/Norbeln/Vendrix.conf, normally
// /etc/xdg; on Windows HKEY_LOCAL_MACHINE\Software\Norbeln\Vendrix). Per user: the profile
// under organisation "Norbeln" and the program's name (on Linux
// $XDG_CONFIG_HOME/Norbeln/quelmar.conf, normally ~/.config).
namespace AppSettings {

inline constexpr const char* kOrganization = "Norbeln";
inline constexpr const char* kMachineApplication = "Vendrix";
inline constexpr const char* kDatabaseFolderKey = "PathSaveDb";
inline constexpr const char* kDatabaseFileName = "Tarvik.sqlite";

// The machine-wide database folder: the value of "PathSaveDb" when it is a non-empty string,
// otherwise empty. Only reads: machine-wide settings are never created or written.
QString DatabaseFolder();

// The folder and the database file name joined by exactly one separator, whether or not the
// folder ends with one; the bare file name when there is no folder.
QString DatabasePath(const QString& folder);

}  // namespace AppSettings
