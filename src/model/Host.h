#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace mivora {

// Everything that asks the user or the operating system. The ui implements it with Qt;
// tests use a scripted fake.
class Host {
 public:
  virtual ~Host() = default;

  // A message box with an OK button only.
  virtual void ShowMessage(const QString& text) = 0;
  // A question with OK and Cancel, information icon, Cancel the default. True for OK.
  virtual bool AskOkCancel(const QString& text) = 0;
  // File dialogs; an empty result means the user cancelled. The filter is Qt's form
  // ("Label (*.ext);;Other (*)"); dir is the folder the dialog opens in.
  virtual QString ChooseOpenFile(const QString& title, const QString& filter,
                                 const QString& dir) = 0;
  virtual QString ChooseSaveFile(const QString& title, const QString& filter,
                                 const QString& dir) = 0;
  // The window "Form2": a file's path and the text of the line that could not be read.
  virtual void ShowFileProblem(const QString& path, const QString& line) = 0;
  // Wait cursor on or off; calls nest.
  virtual void SetWaitCursor(bool on) = 0;
  // Progress of long work, done out of total (total 0 ends it).
  virtual void ShowProgress(std::int64_t done, std::int64_t total) = 0;
  // Hands a cell's text to the desktop (web and mail addresses, existing documents).
  virtual void OpenDocument(const QString& target) = 0;
  // Ends the program.
  virtual void ExitProgram() = 0;
  // True in a batch run: messages go to standard error and nobody is asked.
  virtual bool IsBatch() const { return false; }

  // A question with Yes and No. True for Yes.
  virtual bool AskYesNo(const QString& text) { return AskOkCancel(text); }
  // A save dialog that does not ask before overwriting (the chosen file is updated, not
  // replaced).
  virtual QString ChooseSaveFileNoOverwritePrompt(const QString& title, const QString& filter,
                                                  const QString& dir) {
    return ChooseSaveFile(title, filter, dir);
  }
  // The worksheet choice dialog "SHeetSelect": the list of names, "選択終了" and "キャンセル".
  // Gives the index of the selected name, kNoSheetSelected when "選択終了" was pressed with
  // nothing selected, kSheetChoiceCancelled for "キャンセル" or the close box.
  static constexpr int kNoSheetSelected = -1;
  static constexpr int kSheetChoiceCancelled = -2;
  virtual int ChooseSheet(const QStringList& names) {
    (void)names;
    return kSheetChoiceCancelled;
  }
};

// Holds the wait cursor for a scope (also when an error escapes it).
class WaitCursor {
 public:
  explicit WaitCursor(Host& host) : host_(host) { host_.SetWaitCursor(true); }
  ~WaitCursor() { host_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Host& host_;
};

// Measures text for fitting column widths; the core stays free of fonts.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual float TextWidthTwips(const QString& text, bool bold) const = 0;
};

}  // namespace mivora
