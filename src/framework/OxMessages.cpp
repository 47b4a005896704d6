// The engine's message boxes: every message is a language key, shown in the
// message dialog; a numbered message can be silenced for good, after which
// it answers with the remembered button without showing anything.

#include "framework/OxEngine.h"
#include "framework/utils/TextUtils.h"

namespace brimlow {

int ButtonCode(TMsgDlgBtn button) {
  switch (button) {
    case TMsgDlgBtn::mbYes: return 6;
    case TMsgDlgBtn::mbNo: return 7;
    case TMsgDlgBtn::mbOK: return 1;
    case TMsgDlgBtn::mbCancel: return 2;
    case TMsgDlgBtn::mbAbort: return 3;
    case TMsgDlgBtn::mbRetry: return 4;
    case TMsgDlgBtn::mbIgnore: return 5;
    case TMsgDlgBtn::mbAll: return 8;
    case TMsgDlgBtn::mbNoToAll: return 9;
    case TMsgDlgBtn::mbYesToAll: return 10;
    case TMsgDlgBtn::mbHelp: return 0;
    case TMsgDlgBtn::mbClose: return 11;
  }
  return 0;
}

MessageDialog* TOxEngine::Dialog() {
  if (!FMessageDlg && FDialogFactory) FMessageDlg = FDialogFactory();
  return FMessageDlg.get();
}

int TOxEngine::ShowMessageEx(const std::wstring& strName, const std::vector<std::wstring>& Args,
                             int iNumber, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                             int iDefault, bool bLib) {
  const TOxEngine* engine = GetOxEngine() ? GetOxEngine() : this;
  std::wstring text = bLib ? engine->GetLibString(strName) : engine->GetAppString(strName);
  // An untranslated key still shows, bracketed, so it can be found.
  if (text.empty()) text = (bLib ? L"[LibRes]" : L"[AppRes]") + strName;
  text = FormatPlaceholders(text, Args);

  TOxSettings& settings = GetOxSettings();
  // What a message answers when it is not shown: the caller's default, else
  // the button the user pressed when silencing it.
  auto silent_answer = [&] {
    if (iDefault != 0) return iDefault;
    return iNumber != 0 ? settings.GetMessageShowAgainResult(iNumber) : 0;
  };
  if (iNumber != 0 && !settings.GetMessageShowAgainFlag(iNumber)) return silent_answer();

  MessageDialog* dialog = Dialog();
  // Without a dialog (no user interface) nobody can answer.
  if (!dialog) return silent_answer();
  dialog->SetShowAgainMode(iNumber != 0);
  const int result = dialog->Show(text, engine->AppName(), DlgType, Buttons);

  if (iNumber != 0 && !dialog->ShowAgain()) {
    settings.SetMessageShowAgainFlag(iNumber, false);
    settings.SetMessageShowAgainResult(iNumber, result);
  }
  return result;
}

void TOxEngine::ShowErrorMessage(const std::wstring& strError, const std::wstring& strErrorParam,
                                 bool bLib) {
  ShowMessageEx(strError, {strErrorParam}, 0, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0, bLib);
}

}  // namespace brimlow
