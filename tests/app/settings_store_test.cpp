#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vork {
namespace {

// Every stored value in one line, the home folder written "~".
QString Describe(const StoredSettings& v) {
  const OptionStore& o = v.Options;
  auto flag = [](bool b) { return QString(b ? "1" : "0"); };
  QString dir = v.CurrentDirectory == QDir::homePath() ? "~" : v.CurrentDirectory;
  QStringList last(v.LastFiles.begin(), v.LastFiles.end());
  return QStringList{dir,
                     flag(o.CaseSensitive) + flag(o.ExclusivityCheck) + flag(o.RepeatCheck) +
                         flag(o.OneCharCodes) + flag(o.CompressMDS) + flag(o.BackupSDS) +
                         flag(o.ELag1SZ) + flag(o.WriteLog),
                     QString("%1 %2 %3 %4 %5 %6 %7")
                         .arg(o.SingLineComX).arg(o.MultLineComX).arg(o.MaxErrors)
                         .arg(o.NDigits).arg(o.N2x2Min).arg(o.DecSepX).arg(o.PlotCharX),
                     last.join(','),
                     QString("%1 %2,%3 %4,%5 %6")
                         .arg(v.MainFont.Size).arg(v.MainFont.Name).arg(v.EditFont.Size)
                         .arg(v.EditFont.Name).arg(v.ResuFont.Size).arg(v.ResuFont.Name)}
      .join(" | ");
}

TEST(SettingsStore, ReadsEachValueUnderItsSectionAndNameOrItsDefault) {
  struct Case {
    const char* Ini;
    const char* Read;
  };
  const Case cases[] = {
      {"", "~ | 10001010 | 3 1 25 2 5 0 0 | ,,,, | 10 MS Sans Serif,10 MS Sans Serif,10 Courier New"},
      {"[Interface]\nCurrentDirectory=/data/obs\n"
       "[KELP]\nSCase=false\nSExclusive=true\nSRepeat=true\nSOneChar=true\nSSingLCX=0\n"
       "SMultLCX=14\nSMaxErrors=500\nCompressMDS=false\nSMakeBackup=true\n"
       "[VORK]\nNDigits=4\nN2x2Min=12\nDecSepX=2\nPlotCharX=3\nELag1SZ=false\nWriteLog=true\n"
       "LastFile1=/data/a.sds\nLastFile5=/data/e.mds\nMainFontSize=12\nMainFontName=Arial\n"
       "EditFontSize=9\nEditFontName=Courier New\nResuFontSize=11\nResuFontName=Mono\n",
       "/data/obs | 01110101 | 0 14 500 4 12 2 3 | /data/a.sds,,,,/data/e.mds | "
       "12 Arial,9 Courier New,11 Mono"},
      // Values of the wrong kind read as defaults, numbers out of range as they are.
      {"[KELP]\nSCase=maybe\nSMaxErrors=lots\nSSingLCX=99\nSMultLCX=99999999999999\n"
       "[VORK]\nNDigits=-3\nN2x2Min=\nWriteLog=1\nMainFontSize=big\n",
       "~ | 10001011 | 99 1 25 -3 5 0 0 | ,,,, | 10 MS Sans Serif,10 MS Sans Serif,10 Courier New"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Ini);
    QTemporaryDir folder;
    {
      QFile file(folder.filePath("settings.ini"));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.Ini);
    }
    QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
    EXPECT_EQ(Describe(ReadSettings(settings)), c.Read);
  }
}

TEST(SettingsStore, WrittenValuesReadBackTheSame) {
  StoredSettings written;
  written.CurrentDirectory = "C:\\work\\obs";
  written.Options.CaseSensitive = false;
  written.Options.MultLineComX = 0;
  written.Options.MaxErrors = 32767;
  written.Options.DecSepX = 1;
  written.Options.WriteLog = true;
  written.LastFiles = {"a.sds", "b.mds", "", "d;e.sds", "f g.mds"};
  written.ResuFont = {14, "DejaVu Sans Mono"};
  QTemporaryDir folder;
  {
    QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
    WriteSettings(settings, written);
  }
  QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
  EXPECT_EQ(Describe(ReadSettings(settings)),
            "C:\\work\\obs | 00001011 | 3 0 32767 2 5 1 0 | a.sds,b.mds,,d;e.sds,f g.mds | "
            "10 MS Sans Serif,10 MS Sans Serif,14 DejaVu Sans Mono");
  EXPECT_EQ(settings.value("KELP/SMaxErrors").toString(), "32767");
}

}  // namespace
}  // namespace vork
