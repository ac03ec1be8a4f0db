#include "modify/round_mds_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "core/text_file.h"
#include "tests/support/compiled_text.h"
#include "tests/support/qt/test_host.h"
#include "widgets/radio_group_box.h"

namespace vork {
namespace {

using testing::CompiledText;

// Tenths; a's onsets at 0.6 and 1.2 fall into second 1.
const std::string Tenths = "Timed a b;\n,0.0 a,0.6-0.9 b,1.0-1.1 a,1.2-1.4 ,2.0/";
const QStringList RoundedData = {"1\t1\t#1", "1\t2\t2\t0\t2", "1\t..", "1\t22"};

class RoundMdsDialog : public testing::WindowFixture {
 protected:
  TRoundMDS& OpenText(const std::string& text, const QString& name = "x.mds") {
    return Open<TRoundMDS>(WriteFile(name, CompiledText(text)));
  }
  // The rounded file from its units line on.
  QStringList DataOf(const QString& name) {
    QStringList lines = FileText(name).split("\r\n");
    return lines.mid(4, lines.size() - 5);
  }
};

TEST_F(RoundMdsDialog, OverwritesTheCurrentFile) {
  TRoundMDS& dialog = OpenText(Tenths);
  EXPECT_EQ(dialog.windowTitle(), "Round times in MDS file - x.mds");
  EXPECT_EQ(dialog.RoundLabel->text(), "Round 1/10  to:");
  EXPECT_EQ(testing::ComboItems(dialog.RoundBox), "seconds");
  EXPECT_EQ(dialog.OverwriteMdsBox->ItemIndex(), 1);
  dialog.OverwriteMdsBox->SetItemIndex(0);
  dialog.RunCompute->trigger();
  EXPECT_EQ(DataOf("x.mds"), QStringList{"1\t0\tseconds"} + RoundedData);
  ASSERT_EQ(Host.SavedMsgs.size(), 1);
  const QString stamp = Host.SavedMsgs[0].section('|', 2);
  EXPECT_EQ(Rel(Host.SavedMsgs[0]), "x.mds| (rounded), |" + stamp);
  EXPECT_TRUE(FileText("x.mds").startsWith("\tMDS file modified by VORK (times rounded) " + stamp + "\r\n"));
  EXPECT_EQ(Host.Results.mid(5), (QStringList{"", "1\ta merged"}));
  EXPECT_EQ(Rel(Host.Current), "x.mds");
  EXPECT_TRUE(Host.Platform.FileDialogs.empty());
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(RoundMdsDialog, WritesANewNumberedFileThatBecomesCurrent) {
  TRoundMDS& dialog = OpenText("State a b;\n,0.00 a,0.10 b,0.55 ,1.00/", "day[9].mds");
  EXPECT_EQ(testing::ComboItems(dialog.RoundBox), "seconds|tenths");
  dialog.RoundBox->setCurrentIndex(1);
  dialog.CloseAfterRun->setChecked(false);

  Host.Platform.ThenFile(std::nullopt);
  dialog.RunCompute->trigger();
  EXPECT_EQ(Rel(Host.Platform.FileDialogs.back().Spec.FileName), "day[10].mds");
  EXPECT_EQ(Host.Platform.FileDialogs.back().Spec.Title, "Save MDS file as...");
  EXPECT_EQ(FileText("day[10].mds"), "(missing)");
  EXPECT_EQ(Host.Results.back(), "No events merged.");
  EXPECT_TRUE(Host.SavedMsgs.isEmpty());

  Host.Platform.ThenFile(Path("day[10].mds"));
  dialog.RunCompute->trigger();
  EXPECT_EQ(DataOf("day[10].mds"),
            (QStringList{"4\t1\ttenths", "1\t1\t#1", "1\t5\t10\t0\t10", "1\t..", "1\t2.", "4\t1.", "1\t.2", "3\t.1"}));
  EXPECT_EQ(Rel(Host.Current), "day[10].mds");
  ASSERT_EQ(Host.SavedMsgs.size(), 1);
  EXPECT_EQ(Host.LoadTime, Host.SavedMsgs[0].section('|', 2));
}

TEST_F(RoundMdsDialog, RefusesFilesItCannotRound) {
  for (const auto& [text, notice] : {std::pair{"Event a;\na/", "Open a timed-event or state MDS file."},
                                     std::pair{"Timed a;\na,1-2 ,3/", "File already rounded to integer times."}}) {
    Host.Platform.Then(Answer::Ok);
    EXPECT_FALSE(OpenText(text).RunCompute->isEnabled());
    EXPECT_EQ(Host.Platform.BoxTexts().back(), notice);
  }
  Host.Platform.Then(Answer::Ok);
  TRoundMDS& damaged = Open<TRoundMDS>(WriteFile("bad.mds", {"not a compiled file"}));
  EXPECT_EQ(Host.Platform.BoxTexts().back(), "bad.mds not a valid MDS 5.x file");
  EXPECT_TRUE(Host.Current.isEmpty());
  EXPECT_FALSE(damaged.RunCompute->isEnabled());
}

}  // namespace
}  // namespace vork
