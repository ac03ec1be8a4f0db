#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vork {
namespace {

class SettingsStore : public ::testing::Test {
 protected:
  QString File() const { return Folder.filePath("settings.ini"); }

  void WriteIni(const char* text) {
    QFile file(File());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  QTemporaryDir Folder;
};

TEST_F(SettingsStore, EmptySettingsGiveTheFirstStartDefaults) {
  QSettings settings(File(), QSettings::IniFormat);
  StoredSettings values = ReadSettings(settings);
  EXPECT_EQ(values.CurrentDirectory, QDir::homePath());
  const OptionStore& o = values.Options;
  EXPECT_TRUE(o.CaseSensitive);
  EXPECT_FALSE(o.ExclusivityCheck);
  EXPECT_FALSE(o.RepeatCheck);
  EXPECT_FALSE(o.OneCharCodes);
  EXPECT_EQ(o.SingLineComX, 3);
  EXPECT_EQ(o.MultLineComX, 1);
  EXPECT_EQ(o.MaxErrors, 25);
  EXPECT_TRUE(o.CompressMDS);
  EXPECT_FALSE(o.BackupSDS);
  EXPECT_EQ(o.NDigits, 2);
  EXPECT_EQ(o.N2x2Min, 5);
  EXPECT_EQ(o.DecSepX, 0);
  EXPECT_EQ(o.PlotCharX, 0);
  EXPECT_TRUE(o.ELag1SZ);
  EXPECT_FALSE(o.WriteLog);
  for (const QString& last : values.LastFiles) EXPECT_EQ(last, "");
  EXPECT_EQ(values.MainFont.Size, 10);
  EXPECT_EQ(values.MainFont.Name, "MS Sans Serif");
  EXPECT_EQ(values.EditFont.Size, 10);
  EXPECT_EQ(values.EditFont.Name, "MS Sans Serif");
  EXPECT_EQ(values.ResuFont.Size, 10);
  EXPECT_EQ(values.ResuFont.Name, "Courier New");
}

TEST_F(SettingsStore, ValuesAreReadUnderTheirSectionsAndNames) {
  WriteIni(
      "[Interface]\nCurrentDirectory=/data/obs\n"
      "[KELP]\nSCase=false\nSExclusive=true\nSRepeat=true\nSOneChar=true\nSSingLCX=0\n"
      "SMultLCX=14\nSMaxErrors=500\nCompressMDS=false\nSMakeBackup=true\n"
      "[VORK]\nNDigits=4\nN2x2Min=12\nDecSepX=2\nPlotCharX=3\nELag1SZ=false\nWriteLog=true\n"
      "LastFile1=/data/a.sds\nLastFile5=/data/e.mds\nMainFontSize=12\nMainFontName=Arial\n"
      "EditFontSize=9\nEditFontName=Courier New\nResuFontSize=11\nResuFontName=Mono\n");
  QSettings settings(File(), QSettings::IniFormat);
  StoredSettings values = ReadSettings(settings);
  EXPECT_EQ(values.CurrentDirectory, "/data/obs");
  const OptionStore& o = values.Options;
  EXPECT_FALSE(o.CaseSensitive);
  EXPECT_TRUE(o.ExclusivityCheck);
  EXPECT_TRUE(o.RepeatCheck);
  EXPECT_TRUE(o.OneCharCodes);
  EXPECT_EQ(o.SingLineComX, 0);
  EXPECT_EQ(o.MultLineComX, 14);
  EXPECT_EQ(o.MaxErrors, 500);
  EXPECT_FALSE(o.CompressMDS);
  EXPECT_TRUE(o.BackupSDS);
  EXPECT_EQ(o.NDigits, 4);
  EXPECT_EQ(o.N2x2Min, 12);
  EXPECT_EQ(o.DecSepX, 2);
  EXPECT_EQ(o.PlotCharX, 3);
  EXPECT_FALSE(o.ELag1SZ);
  EXPECT_TRUE(o.WriteLog);
  EXPECT_EQ(values.LastFiles[0], "/data/a.sds");
  EXPECT_EQ(values.LastFiles[1], "");
  EXPECT_EQ(values.LastFiles[4], "/data/e.mds");
  EXPECT_EQ(values.MainFont.Size, 12);
  EXPECT_EQ(values.MainFont.Name, "Arial");
  EXPECT_EQ(values.EditFont.Size, 9);
  EXPECT_EQ(values.EditFont.Name, "Courier New");
  EXPECT_EQ(values.ResuFont.Size, 11);
  EXPECT_EQ(values.ResuFont.Name, "Mono");
}

TEST_F(SettingsStore, ValuesOfTheWrongKindReadAsDefaultsAndOutOfRangeNumbersAsTheyAre) {
  WriteIni(
      "[KELP]\nSCase=maybe\nSMaxErrors=lots\nSSingLCX=99\nSMultLCX=99999999999999\n"
      "[VORK]\nNDigits=-3\nN2x2Min=\nWriteLog=1\nMainFontSize=big\n");
  QSettings settings(File(), QSettings::IniFormat);
  StoredSettings values = ReadSettings(settings);
  EXPECT_TRUE(values.Options.CaseSensitive);
  EXPECT_EQ(values.Options.MaxErrors, 25);
  EXPECT_EQ(values.Options.SingLineComX, 99);
  EXPECT_EQ(values.Options.MultLineComX, 1);
  EXPECT_EQ(values.Options.NDigits, -3);
  EXPECT_EQ(values.Options.N2x2Min, 5);
  EXPECT_TRUE(values.Options.WriteLog);
  EXPECT_EQ(values.MainFont.Size, 10);
}

TEST_F(SettingsStore, WrittenValuesReadBackTheSame) {
  StoredSettings written;
  written.CurrentDirectory = "C:\\work\\obs";
  written.Options.CaseSensitive = false;
  written.Options.MultLineComX = 0;
  written.Options.MaxErrors = 32767;
  written.Options.DecSepX = 1;
  written.Options.WriteLog = true;
  written.LastFiles = {"a.sds", "b.mds", "", "d;e.sds", "f g.mds"};
  written.ResuFont = {14, "DejaVu Sans Mono"};
  {
    QSettings settings(File(), QSettings::IniFormat);
    WriteSettings(settings, written);
  }
  QSettings settings(File(), QSettings::IniFormat);
  StoredSettings read = ReadSettings(settings);
  EXPECT_EQ(read.CurrentDirectory, "C:\\work\\obs");
  EXPECT_FALSE(read.Options.CaseSensitive);
  EXPECT_EQ(read.Options.MultLineComX, 0);
  EXPECT_EQ(read.Options.MaxErrors, 32767);
  EXPECT_EQ(read.Options.DecSepX, 1);
  EXPECT_TRUE(read.Options.WriteLog);
  EXPECT_EQ(read.LastFiles, written.LastFiles);
  EXPECT_EQ(read.ResuFont.Size, 14);
  EXPECT_EQ(read.ResuFont.Name, "DejaVu Sans Mono");
  EXPECT_EQ(settings.value("KELP/SMaxErrors").toString(), "32767");
}

}  // namespace
}  // namespace vork
