#include "app/settings_store.h"

#include <QDir>
#include <QStandardPaths>

namespace vork {
namespace {

// Calls visit(section, name, field) for every stored value, in the order
// they are read and written.
template <class Settings, class Visit>
void VisitSettings(Settings& s, Visit visit) {
  visit("Interface", "CurrentDirectory", s.CurrentDirectory);
  visit("KELP", "SCase", s.Options.CaseSensitive);
  visit("KELP", "SExclusive", s.Options.ExclusivityCheck);
  visit("KELP", "SRepeat", s.Options.RepeatCheck);
  visit("KELP", "SOneChar", s.Options.OneCharCodes);
  visit("KELP", "SSingLCX", s.Options.SingLineComX);
  visit("KELP", "SMultLCX", s.Options.MultLineComX);
  visit("KELP", "SMaxErrors", s.Options.MaxErrors);
  visit("KELP", "CompressMDS", s.Options.CompressMDS);
  visit("KELP", "SMakeBackup", s.Options.BackupSDS);
  visit("VORK", "NDigits", s.Options.NDigits);
  visit("VORK", "N2x2Min", s.Options.N2x2Min);
  visit("VORK", "DecSepX", s.Options.DecSepX);
  visit("VORK", "PlotCharX", s.Options.PlotCharX);
  visit("VORK", "ELag1SZ", s.Options.ELag1SZ);
  visit("VORK", "WriteLog", s.Options.WriteLog);
  visit("VORK", "LastFile1", s.LastFiles[0]);
  visit("VORK", "LastFile2", s.LastFiles[1]);
  visit("VORK", "LastFile3", s.LastFiles[2]);
  visit("VORK", "LastFile4", s.LastFiles[3]);
  visit("VORK", "LastFile5", s.LastFiles[4]);
  visit("VORK", "MainFontSize", s.MainFont.Size);
  visit("VORK", "MainFontName", s.MainFont.Name);
  visit("VORK", "EditFontSize", s.EditFont.Size);
  visit("VORK", "EditFontName", s.EditFont.Name);
  visit("VORK", "ResuFontSize", s.ResuFont.Size);
  visit("VORK", "ResuFontName", s.ResuFont.Name);
}

QString Key(const char* section, const char* name) {
  return QString(section) + "/" + QString(name);
}

void ReadInto(const QVariant& value, bool& field) {
  QString text = value.toString().trimmed().toLower();
  if (text == "true" || text == "1") field = true;
  if (text == "false" || text == "0") field = false;
}

void ReadInto(const QVariant& value, int& field) {
  bool ok = false;
  int number = value.toString().trimmed().toInt(&ok);
  if (ok) field = number;
}

void ReadInto(const QVariant& value, QString& field) {
  if (value.canConvert<QString>()) field = value.toString();
}

}  // namespace

QString StoredSettings::DefaultCurrentDirectory() {
  // Only a system with drive letters has "C:\"; elsewhere the name would be
  // a folder of that odd name inside the current one.
  if (QDir::isAbsolutePath("C:/") && QDir("C:/").exists()) return "C:\\";
  return QDir::homePath();
}

StoredSettings ReadSettings(QSettings& settings) {
  StoredSettings values;
  VisitSettings(values, [&](const char* section, const char* name, auto& field) {
    QVariant value = settings.value(Key(section, name));
    if (value.isValid()) ReadInto(value, field);
  });
  return values;
}

void WriteSettings(QSettings& settings, const StoredSettings& values) {
  VisitSettings(values, [&](const char* section, const char* name, const auto& field) {
    settings.setValue(Key(section, name), field);
  });
  settings.sync();
}

QString UserSettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/VORK/VORK for Windows.ini";
}

}  // namespace vork
