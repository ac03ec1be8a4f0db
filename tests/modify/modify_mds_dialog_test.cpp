#include "modify/modify_mds_dialog.h"

#include <QAction>
#include <QApplication>
#include <functional>
#include <QLineEdit>
#include <QListWidget>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "widgets/number_up_down.h"
#include "widgets/radio_group_box.h"
#include "core/text_file.h"
#include "tests/support/qt/layout_check.h"
#include "tests/support/qt/test_host.h"
#include "tests/modify/modify_fixture.h"

namespace vork {
namespace {

const char* const TimedKelp = "Timed a b;\na,0-3 b,2-5 ,6/";
const char* const EventKelp = "Event a b c;\na b c a/";

class ModifyDialog : public testing::WindowFixture {
 protected:
  // A compiled file of the text current, and the dialog on it.
  std::unique_ptr<TModifyMDS> Open(const char* kelp, const QString& name = "data.mds") {
    Host.Current = WriteFile(name, testing::CompiledFile(kelp).Lines.ToStrings());
    return std::make_unique<TModifyMDS>(Host);
  }
  static QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
  static QString Enabled(const TModifyMDS& dialog) {
    QString marks;
    for (QToolButton* button : dialog.ModSBs) marks += button->isEnabled() ? '1' : '0';
    return marks;
  }
};

TEST_F(ModifyDialog, LoadsTheCurrentFileAndEnablesTheButtonsOfItsDataType) {
  auto timed = Open(TimedKelp);
  EXPECT_EQ(timed->windowTitle(), "Modify MDS File - data.mds");
  EXPECT_EQ(Items(timed->CodesInFile), (QStringList{"a", "b"}));
  EXPECT_EQ(Enabled(*timed), "1111111001111");
  auto event = Open(EventKelp, "events.mds");
  EXPECT_EQ(Enabled(*event), "0000011111100");
}

TEST_F(ModifyDialog, RunsACommandEchoesItAndSavesTheFile) {
  auto dialog = Open(TimedKelp);
  Host.Platform.Then(Answer::Ok);
  dialog->RunCompute->trigger();
  EXPECT_EQ(Host.Platform.BoxTexts(), QStringList{"No command selected"});
  dialog->ModSBs[CommandAnd - 1]->click();
  dialog->MoveAllCodes->click();
  dialog->NewCode->setText("both");
  dialog->RunCompute->trigger();
  const QStringList results = Host.Results;
  EXPECT_EQ(results.mid(results.size() - 7),
            (QStringList{"", "File:\tdata.mds", "Made:\t\tMDS file saved by KELP compiler Version 5.1 THEN",
                         "Type:\tTimed", "Units:\tseconds", "", "And both= a b;"}));
  EXPECT_EQ(Host.Log.last(), "And both= a b;");
  EXPECT_EQ(Items(dialog->CodesInFile), (QStringList{"a", "b", "both"}));
  EXPECT_EQ(dialog->PickedCodes->count(), 0);
  EXPECT_TRUE(dialog->NewCode->text().isEmpty());
  EXPECT_TRUE(dialog->MdsLinesModified);

  dialog->FileSaveMDS->trigger();
  EXPECT_FALSE(dialog->MdsLinesModified);
  const dynString saved = LoadTextLines(Path("data.mds").toStdString());
  EXPECT_EQ(testing::LinesAfterStamp(saved),
            (std::vector<std::string>{"2|0|0", "3|0|0|0|1|1", "a|b|both", "1|0|seconds", "1|1|#1", "1|5|6|0|6",
                                      "1|2..", "1|1..", "1|122", "2|.1.", "1|..."}));
  EXPECT_TRUE(Host.SavedMsgs.last().startsWith(Path("data.mds") + "| (modified), |"));
  EXPECT_TRUE(dialog->close());
  EXPECT_EQ(Host.Results.last(), "_________________________");
}

TEST_F(ModifyDialog, AFailedSaveKeepsTheOldFileAndTheChanges) {
  auto dialog = Open(EventKelp);
  const dynString before = LoadTextLines(Path("data.mds").toStdString());
  dialog->ModSBs[CommandRemove - 1]->click();
  dialog->CodesInFile->item(0)->setSelected(true);
  dialog->MoveSelCodes->click();
  dialog->RunCompute->trigger();
  Host.Platform.ThenFile(Path("missing/folder/data.mds"));
  dialog->FileSaveMDSAs->trigger();
  EXPECT_EQ(Host.Platform.Errors.size(), 1u);
  EXPECT_TRUE(dialog->MdsLinesModified);
  EXPECT_EQ(LoadTextLines(Path("data.mds").toStdString()), before);
  // Closing asks; No drops the changes.
  Host.Platform.Then(Answer::No);
  EXPECT_TRUE(dialog->close());
  EXPECT_EQ(Host.Platform.BoxTexts().last(), "data.mds has been modified. Save (yes lets you rename)?");
}

TEST_F(ModifyDialog, ChainCopiesCodesAndMoveAllDoesNothing) {
  auto dialog = Open(EventKelp);
  dialog->ModSBs[CommandChain - 1]->click();
  dialog->MoveAllCodes->click();
  EXPECT_EQ(dialog->PickedCodes->count(), 0);
  dialog->CodesInFile->item(0)->setSelected(true);
  dialog->MoveSelCodes->click();
  dialog->MoveSelCodes->click();
  EXPECT_EQ(Items(dialog->PickedCodes), (QStringList{"a", "a"}));
  EXPECT_EQ(Items(dialog->CodesInFile), (QStringList{"a", "b", "c"}));
  EXPECT_FALSE(dialog->LabelChainMore->isHidden());
}

TEST_F(ModifyDialog, WindowControlsAndOffsetEdits) {
  auto dialog = Open(TimedKelp);
  EXPECT_TRUE(dialog->WindowParmsBox->isHidden());
  dialog->ModSBs[CommandWindow - 1]->click();
  EXPECT_FALSE(dialog->WindowParmsBox->isHidden());
  EXPECT_EQ(dialog->ToOptionsGroup->ItemIndex(), NullToPart);
  EXPECT_FALSE(dialog->EditToN->isEnabled());
  dialog->EditFromN->setText("40000");
  EXPECT_EQ(dialog->EditFromN->text(), "32767");
  dialog->EditFromN->setText("-");
  EXPECT_EQ(dialog->EditFromN->text(), "-");
  dialog->EditFromN->setText("");
  EXPECT_EQ(dialog->EditFromN->text(), "0");
  EXPECT_EQ(Host.Platform.Beeps, 2);
}

// A typed WINDOW command leaves its parts in the WINDOW controls, and the
// "to" offset can be edited exactly when a "to" part is chosen.
TEST_F(ModifyDialog, TypedWindowPartsEnableTheToOffsetAsAClickWould) {
  struct Case {
    const char* Typed;
    int ToIndex;
    bool ToEnabled;
    const char* ToN;
  };
  const Case cases[] = {
      {"Window w=(a,b)+1;", 2, true, "1"},
      {"Window w=a,(b-2;", 0, true, "-2"},
      {"Window w=a+2;", NullToPart, false, "0"},
      {"Window w=a,b+3;\nWindow v=b;", NullToPart, false, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Typed);
    auto dialog = Open(TimedKelp);
    dialog->RunUseSyntax->trigger();
    dialog->Memo1->insertPlainText(c.Typed);
    dialog->RunCompute->trigger();
    EXPECT_EQ(Items(dialog->ListBox1), QStringList{"No errors."});
    dialog->RunStopSyntax->trigger();
    EXPECT_FALSE(dialog->WindowParmsBox->isHidden());
    EXPECT_EQ(dialog->ToOptionsGroup->ItemIndex(), c.ToIndex);
    EXPECT_EQ(dialog->EditToN->isEnabled(), c.ToEnabled);
    EXPECT_EQ(dialog->ToN->isEnabled(), c.ToEnabled);
    EXPECT_EQ(dialog->EditToN->text(), c.ToN);
  }
}

TEST_F(ModifyDialog, TypedCommandsRunLikeTheButtons) {
  auto dialog = Open(TimedKelp);
  dialog->RunUseSyntax->trigger();
  EXPECT_FALSE(dialog->Memo1->isHidden());
  EXPECT_TRUE(dialog->ModifyCommandsBox->isHidden());
  dialog->Memo1->insertPlainText("or either= a b;\nwindow w=(a+1");
  dialog->RunCompute->trigger();
  EXPECT_EQ(Items(dialog->ListBox1), QStringList{"No errors."});
  EXPECT_EQ(Items(dialog->CodesInFile), (QStringList{"a", "b", "either", "w"}));
  EXPECT_EQ(Host.Results.mid(Host.Results.size() - 2), (QStringList{"Or either= a b;", "Window w=(a+1;"}));
  // Closing asks about the typed text first.
  Host.Platform.Then(Answer::No).Then(Answer::No);
  EXPECT_TRUE(dialog->close());
  EXPECT_EQ(Host.Platform.BoxTexts().mid(Host.Platform.BoxTexts().size() - 2),
            (QStringList{"Do you want to save the syntax you entered?",
                         "data.mds has been modified. Save (yes lets you rename)?"}));
}

TEST_F(ModifyDialog, ASavedSyntaxFileOpensAgainAndRunsTheSame) {
  auto dialog = Open(TimedKelp);
  dialog->RunUseSyntax->trigger();
  dialog->Memo1->insertPlainText("xor one= a b\nnot two= one");
  Host.Platform.ThenFile(Path("cmds.txt"));
  dialog->FileSaveTXT->trigger();
  EXPECT_EQ(LoadTextLines(Path("cmds.txt").toStdString()), (dynString{"xor one= a b", "not two= one"}));
  EXPECT_EQ(Host.SavedMsgs.last(), Path("cmds.txt") + "| (syntax), |");
  dialog->MenuClearWindowExecute();
  EXPECT_TRUE(dialog->Memo1->toPlainText().isEmpty());
  Host.Platform.ThenFile(Path("cmds.txt"));
  dialog->FileOpenTXT->trigger();
  EXPECT_EQ(Host.Results.last(), "cmds.txt syntax file opened");
  dialog->RunCompute->trigger();
  EXPECT_EQ(Items(dialog->ListBox1), QStringList{"No errors."});
  EXPECT_EQ(Items(dialog->CodesInFile), (QStringList{"a", "b", "one", "two"}));
  EXPECT_EQ(testing::LinesAfterStamp(dialog->Mds.Lines),
            (std::vector<std::string>{"2|0|0", "4|0|0|0|1|1", "a|b|one|two", "1|0|seconds", "1|1|#1", "1|6|6|0|6",
                                      "1|2.2.", "1|1.1.", "1|12.2", "1|.12.", "1|.11.", "1|...2"}));
  Host.Platform.Then(Answer::No);
  EXPECT_TRUE(dialog->close());
}

// Every caption shows whole and apart from the others, for the controls each
// command brings, at the window's first size and at its narrowest.
TEST_F(ModifyDialog, CaptionsShowWholeForEveryCommandsControls) {
  struct State {
    const char* Name;
    const char* Kelp;
    std::function<void(TModifyMDS&)> Set;
  };
  const State states[] = {
      {"window, two codes", TimedKelp,
       [](TModifyMDS& d) {
         d.ModSBs[CommandWindow - 1]->click();
         d.MoveAllCodes->click();
       }},
      {"bout", TimedKelp, [](TModifyMDS& d) { d.ModSBs[CommandBout - 1]->click(); }},
      {"chain, a code picked", EventKelp,
       [](TModifyMDS& d) {
         d.ModSBs[CommandChain - 1]->click();
         d.CodesInFile->item(0)->setSelected(true);
         d.MoveSelCodes->click();
       }},
      {"typed commands", TimedKelp, [](TModifyMDS& d) { d.RunUseSyntax->trigger(); }},
  };
  for (const State& state : states) for (int points : {10, 12}) {
    SCOPED_TRACE(std::string(state.Name) + ", " + std::to_string(points) + " points");
    Host.Font.setPointSize(points);
    auto dialog = Open(state.Kelp);
    dialog->show();
    state.Set(*dialog);
    QApplication::processEvents();
    EXPECT_EQ(testing::CutOrOverlappingCaptions(*dialog), QStringList{}) << "first size";
    dialog->resize(dialog->minimumWidth(), dialog->height());
    QApplication::processEvents();
    EXPECT_EQ(testing::CutOrOverlappingCaptions(*dialog), QStringList{}) << "narrowest";
  }
}

}  // namespace
}  // namespace vork
