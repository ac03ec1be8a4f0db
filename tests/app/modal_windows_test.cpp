// The modal windows as the user meets them: opened from the Run menu and
// shown by the main window until they close.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "core/text_file.h"
#include "tests/support/compiled_text.h"
#include "modify/modify_mds_dialog.h"
#include "widgets/find_replace_dialog.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/qt/layout_check.h"

namespace vork {
namespace {

const char* const EventKelp = "Event a b;\na b a/";

const QString Separator = "_________________________";

class ModalWindows : public testing::ShellFixture {
 protected:
  // Opens "Modify MDS file" from the Run menu on a small event file and runs
  // script while the window is on show and modal. Returns whether the script
  // ran; a window the script leaves open is put away without questions.
  bool WhileModifying(const std::function<void(TModifyMDS&)>& script) {
    SaveTextLines(Path("small.mds").toStdString(), testing::CompiledText(EventKelp));
    Form->OpenMdsDialog.FileName = Path("small.mds");
    bool ran = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TModifyMDS*>(QApplication::activeModalWidget());
      if (!dialog) return;
      ran = true;
      script(*dialog);
      if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    Form->RunModifyMDS->trigger();
    return ran;
  }

  // Types a command, runs it: the window then holds typed text and a
  // changed file, neither saved.
  static void ModifyUnsaved(TModifyMDS& dialog) {
    dialog.RunUseSyntax->trigger();
    dialog.Memo1->insertPlainText("Remove b;");
    dialog.RunCompute->trigger();
  }

  // The captions of the push buttons that were the dialog's default button
  // (the one Enter presses) on show and while each button had the focus.
  static QStringList DefaultButtons(QDialog& dialog) {
    QList<QPushButton*> buttons;  // the dialog's own, not those of its find dialogs
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->window() == &dialog) buttons << button;
    QStringList defaults;
    auto note = [&] {
      QApplication::processEvents();
      for (QPushButton* button : buttons)
        if (button->isDefault() && !defaults.contains(button->text())) defaults << button->text();
    };
    note();
    for (QPushButton* button : buttons) {
      if (!button->isVisible()) continue;
      button->setFocus();
      note();
    }
    return defaults;
  }

  int SeparatorsInResults() const { return int(ResultLines().count(Separator)); }
};

// However the window is closed, the typed text is asked about first and the
// changed file second; Cancel keeps the window open with both, and once it
// closes the results get their separator line.
TEST_F(ModalWindows, EveryWayOfClosingModifyAsksAboutUnsavedWorkInOrder) {
  const QString askSyntax = "Do you want to save the syntax you entered?";
  const QString askFile = "small.mds has been modified. Save (yes lets you rename)?";
  struct Way {
    const char* Name;
    std::function<void(TMainForm&, TModifyMDS&)> Close;
    QStringList SecondAnswers;  // after the window's own questions
    QStringList ExpectedBoxes;
  };
  const Way ways[] = {
      {"Esc in the typed text", [](TMainForm&, TModifyMDS& d) { testing::PressKey(d.Memo1, Qt::Key_Escape); },
       {}, {askSyntax, askFile, askFile}},
      {"the window's close button", [](TMainForm&, TModifyMDS& d) { d.close(); }, {}, {askSyntax, askFile, askFile}},
      {"File > Close this window", [](TMainForm&, TModifyMDS& d) { d.FileClose->trigger(); }, {},
       {askSyntax, askFile, askFile}},
      {"the program's exit", [](TMainForm& form, TModifyMDS&) { form.FileExit->trigger(); },
       {"Save results to a text file?"}, {askSyntax, askFile, askFile, "Save results to a text file?"}},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.Name);
    TMainForm& form = Start();
    Platform.Shown.clear();
    Platform.Answers.clear();
    bool keptOpen = false;
    bool closed = false;
    int separatorsWhileOpen = -1;
    EXPECT_TRUE(WhileModifying([&](TModifyMDS& dialog) {
      ModifyUnsaved(dialog);
      separatorsWhileOpen = SeparatorsInResults();
      Platform.Then(Answer::No).Then(Answer::Cancel);
      way.Close(form, dialog);
      keptOpen = dialog.isVisible() && dialog.MdsLinesModified;
      Platform.Then(Answer::No);
      for (int i = 0; i < way.SecondAnswers.size(); ++i) Platform.Then(Answer::No);
      way.Close(form, dialog);
      closed = !dialog.isVisible();
    }));
    EXPECT_TRUE(keptOpen);
    EXPECT_TRUE(closed);
    EXPECT_EQ(Platform.BoxTexts(), way.ExpectedBoxes);
    EXPECT_EQ(SeparatorsInResults(), separatorsWhileOpen + 1);
    EXPECT_EQ(ResultLines().filter(QRegularExpression("\\S")).last(), Separator);
  }
}

// The name of a new code ends with Enter; that moves no code.
TEST_F(ModalWindows, EnterInTheNewCodeNameMovesNoCode) {
  Start();
  QStringList picked{"(not run)"};
  QStringList inFile;
  EXPECT_TRUE(WhileModifying([&](TModifyMDS& dialog) {
    dialog.ModSBs[CommandOr - 1]->click();
    dialog.NewCode->setFocus();
    testing::TypeKeys(dialog.NewCode, "x");
    testing::PressKey(dialog.NewCode, Qt::Key_Return, "\r");
    picked.clear();
    for (int i = 0; i < dialog.PickedCodes->count(); ++i) picked << dialog.PickedCodes->item(i)->text();
    for (int i = 0; i < dialog.CodesInFile->count(); ++i) inFile << dialog.CodesInFile->item(i)->text();
    EXPECT_EQ(dialog.NewCode->text(), "x");
  }));
  EXPECT_EQ(picked, QStringList{});
  EXPECT_EQ(inFile, (QStringList{"a", "b"}));
}

// Only the About box's OK and the find dialogs' "Find Next" are pressed by
// Enter; in every other dialog Enter presses no button, whichever has the focus.
TEST_F(ModalWindows, EnterPressesOnlyTheButtonADialogNamesItsDefault) {
  TMainForm& form = Start();
  struct Modal {
    const char* Name;
    QAction* TMainForm::*Command;
    QStringList Defaults;
  };
  const Modal modals[] = {
      {"About", &TMainForm::HelpAbout, {"OK"}},
      {"run options", &TMainForm::RunChangeOptions, {}},
      {"compile options", &TMainForm::CompileChangeOptions, {}},
      {"Modify MDS File", &TMainForm::RunModifyMDS, {}},
  };
  SaveTextLines(Path("small.mds").toStdString(), testing::CompiledText(EventKelp));
  for (const Modal& modal : modals) {
    SCOPED_TRACE(modal.Name);
    form.OpenMdsDialog.FileName = Path("small.mds");
    QStringList defaults{"(not shown)"};
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      defaults = DefaultButtons(*dialog);
      dialog->done(QDialog::Rejected);
    });
    (form.*modal.Command)->trigger();
    EXPECT_EQ(defaults, modal.Defaults);
  }
  for (bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "Replace" : "Find");
    TFindReplaceDialog dialog(replace, &form);
    dialog.show();
    EXPECT_EQ(DefaultButtons(dialog), QStringList{"Find Next"});
  }
}

// Every modal window shows its captions whole and apart as it opens.
TEST_F(ModalWindows, NoCaptionIsCutOrCoveredInAModalWindow) {
  TMainForm& form = Start();
  SaveTextLines(Path("timed.mds").toStdString(), testing::CompiledText("Timed a b;\na,0.0-3.0 b,2.5-5.0 ,6.0/"));
  const std::pair<const char*, QAction* TMainForm::*> modals[] = {
      {"About", &TMainForm::HelpAbout},
      {"run options", &TMainForm::RunChangeOptions},
      {"compile options", &TMainForm::CompileChangeOptions},
      {"Modify MDS File", &TMainForm::RunModifyMDS},
      {"Round times", &TMainForm::RunRound},
  };
  for (const auto& [name, command] : modals) {
    SCOPED_TRACE(name);
    form.OpenMdsDialog.FileName = Path("timed.mds");
    QStringList faults{"(not shown)"};
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      QApplication::processEvents();
      faults = testing::CutOrOverlappingCaptions(*dialog);
      dialog->done(QDialog::Rejected);
    });
    (form.*command)->trigger();
    EXPECT_EQ(faults, QStringList{});
  }
}

}  // namespace
}  // namespace vork
