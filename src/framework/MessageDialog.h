#pragma once
// The seam between the engine's message boxes and the window that shows
// them. The skinned user interface implements MessageDialog; tests and the
// command-line tool plug in their own.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace brimlow {

// The dialog's icon and kind.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class TMsgDlgBtn {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore,
  mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose,
};

// The code a pressed button gives. These codes are also what the settings
// remember for a silenced message, so they never change.
int ButtonCode(TMsgDlgBtn button);

// A set of buttons, one bit per TMsgDlgBtn.
class TMsgDlgButtons {
 public:
  TMsgDlgButtons() = default;
  TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) Include(b);
  }
  void Include(TMsgDlgBtn b) { bits_ |= Bit(b); }
  bool Has(TMsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
  bool Empty() const { return bits_ == 0; }
  friend bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;

 private:
  static std::uint32_t Bit(TMsgDlgBtn b) { return 1u << static_cast<int>(b); }
  std::uint32_t bits_ = 0;
};

// A modal message dialog. Main thread only.
class MessageDialog {
 public:
  virtual ~MessageDialog() = default;

  // Show-again mode: a check box ("do not display this message again"),
  // not ticked, under the text of the next dialogs shown. Off: no check box.
  virtual void SetShowAgainMode(bool on) = 0;

  // Shows the dialog modally and returns the code of the pressed button
  // (ButtonCode).
  virtual int Show(const std::wstring& text, const std::wstring& caption,
                   TMsgDlgType type, TMsgDlgButtons buttons) = 0;

  // After Show returned in show-again mode: true when the message may be
  // shown again (the check box was left unticked).
  virtual bool ShowAgain() const = 0;
};

}  // namespace brimlow
