#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/EngineFixture.h"
#include "framework/MessageDialog.h"

namespace brimlow::testing {
namespace {

using B = TMsgDlgBtn;

// The user at the dialog: presses `press`, ticks "do not display again"
// when `tick`, and everything the dialog was asked to show is recorded.
struct Script {
  int press = 1;
  bool tick = false;
  int shown = 0;
  bool show_again_mode = false;
  std::wstring text, caption;
  TMsgDlgType type = TMsgDlgType::mtCustom;
  TMsgDlgButtons buttons;
};

class FakeDialog : public MessageDialog {
 public:
  explicit FakeDialog(Script* script) : s_(script) {}
  void SetShowAgainMode(bool on) override { s_->show_again_mode = on; }
  int Show(const std::wstring& text, const std::wstring& caption, TMsgDlgType type,
           TMsgDlgButtons buttons) override {
    ++s_->shown;
    s_->text = text;
    s_->caption = caption;
    s_->type = type;
    s_->buttons = buttons;
    return s_->press;
  }
  bool ShowAgain() const override { return !(s_->show_again_mode && s_->tick); }

 private:
  Script* s_;
};

class OxMessagesTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    engine_->SetMessageDialogFactory([this] { return std::make_unique<FakeDialog>(&user_); });
  }
  int CureAfterScan(int iDefault) {
    return engine_->ShowMessageEx(L"MSGBox.CureAfterScan", {}, 10, TMsgDlgType::mtInformation,
                                  {B::mbYes, B::mbNo}, iDefault, false);
  }
  Script user_;
};

TEST_F(OxMessagesTest, SilencedMessageAnswersWithoutADialog) {
  user_.press = 6;
  user_.tick = true;
  EXPECT_EQ(CureAfterScan(0), 6);
  EXPECT_EQ(user_.shown, 1);
  EXPECT_TRUE(user_.show_again_mode) << "a numbered message offers the check box";
  EXPECT_EQ(user_.text, L"Cure the problems now?");
  EXPECT_EQ(user_.caption, L"Brimlow");
  EXPECT_EQ(user_.type, TMsgDlgType::mtInformation);
  EXPECT_EQ(user_.buttons, (TMsgDlgButtons{B::mbYes, B::mbNo}));
  EXPECT_FALSE(Settings().GetMessageShowAgainFlag(10));
  EXPECT_EQ(Settings().GetMessageShowAgainResult(10), 6);

  user_.press = 2;
  EXPECT_EQ(CureAfterScan(0), 6) << "the remembered result";
  EXPECT_EQ(CureAfterScan(7), 7) << "the caller's default wins over the remembered one";
  EXPECT_EQ(user_.shown, 1);

  Settings().ClearShowAgainFlag();
  EXPECT_EQ(CureAfterScan(7), 2);
  EXPECT_EQ(user_.shown, 2);
}

TEST_F(OxMessagesTest, UntickedMessageKeepsShowing) {
  user_.press = 7;
  EXPECT_EQ(CureAfterScan(0), 7);
  EXPECT_EQ(CureAfterScan(0), 7);
  EXPECT_EQ(user_.shown, 2);
  EXPECT_TRUE(Settings().GetMessageShowAgainFlag(10));
  EXPECT_EQ(Settings().GetMessageShowAgainResult(10), 1) << "nothing remembered";
}

TEST_F(OxMessagesTest, UnnumberedMessageCannotBeSilenced) {
  user_.tick = true;  // no check box is offered, so this has no effect
  user_.press = 1;
  EXPECT_EQ(engine_->ShowMessageEx(L"MSGBox.Found", {L"3", L"the registry"}, 0,
                                   TMsgDlgType::mtWarning, {B::mbOK}, 0, false),
            1);
  EXPECT_FALSE(user_.show_again_mode);
  EXPECT_EQ(user_.text, L"3 problems in the registry");
  EXPECT_TRUE(Settings().GetMessageShowAgainFlag(0));
}

TEST_F(OxMessagesTest, MissingTextShowsTheBracketedKey) {
  const struct {
    bool lib;
    const wchar_t* expected;
  } cases[] = {{false, L"[AppRes]MSGBox.Unknown {1}"}, {true, L"[LibRes]MSGBox.Unknown {1}"}};
  for (const auto& c : cases) {
    engine_->ShowMessageEx(L"MSGBox.Unknown {1}", {}, 0, TMsgDlgType::mtError, {B::mbOK}, 0, c.lib);
    EXPECT_EQ(user_.text, c.expected) << c.lib;
  }
  engine_->ShowMessageEx(L"MSGBox.CureAfterScan", {}, 0, TMsgDlgType::mtError, {B::mbOK}, 0, true);
  EXPECT_EQ(user_.text, L"[LibRes]MSGBox.CureAfterScan") << "an AppRes key asked for in LibRes";
}

TEST_F(OxMessagesTest, ShowErrorMessageFillsTheParameter) {
  engine_->ShowErrorMessage(L"Greeting", L"Ann", true);
  EXPECT_EQ(user_.text, L"Ann meets {2}, Ann again");
  EXPECT_EQ(user_.type, TMsgDlgType::mtError);
  EXPECT_EQ(user_.buttons, TMsgDlgButtons{B::mbOK});
}

TEST_F(OxMessagesTest, WithoutADialogTheSilentAnswerIsGiven) {
  engine_->SetMessageDialogFactory(nullptr);
  EXPECT_EQ(CureAfterScan(0), 1) << "the remembered result's default";
  EXPECT_EQ(CureAfterScan(7), 7);
  EXPECT_TRUE(Settings().GetMessageShowAgainFlag(10)) << "nobody chose to silence it";
}

}  // namespace
}  // namespace brimlow::testing
