#pragma once

#include <QSettings>
#include <QString>
#include <array>

#include "widgets/option_store.h"

namespace vork {

// A font as the settings keep it: its size and its name (kept as stored even
// when the system has no font of that name and shows another).
struct FontSetting {
  int Size = 10;
  QString Name;
};

// Everything the program keeps between runs, in the sections "Interface",
// "KELP" and "VORK". A fresh value holds the first-start defaults.
struct StoredSettings {
  QString CurrentDirectory = DefaultCurrentDirectory();
  OptionStore Options;
  std::array<QString, 5> LastFiles;  // 0 the newest
  FontSetting MainFont{10, "MS Sans Serif"};
  FontSetting EditFont{10, "MS Sans Serif"};
  FontSetting ResuFont{10, "Courier New"};

  // "C:\" where that folder exists, otherwise the user's home folder.
  static QString DefaultCurrentDirectory();
};

// Reads every value; a missing value, or one that is not of its kind (a
// number or a truth value), reads as its default. Numbers out of their
// range are taken as they are.
StoredSettings ReadSettings(QSettings& settings);

// Writes every value back, in the order they are read.
void WriteSettings(QSettings& settings, const StoredSettings& values);

// Where the program keeps its settings for the current user.
QString UserSettingsFile();

}  // namespace vork
