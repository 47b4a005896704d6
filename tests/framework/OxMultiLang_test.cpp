#include "framework/OxMultiLang.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "framework/OxMultiLangData.h"

namespace brimlow::testing {
namespace {

using Kind = TextProperty::Kind;

// A component with text properties held in maps; collections are lists of
// items with a "Caption" each.
class FakeComponent : public TranslatableComponent {
 public:
  FakeComponent(std::wstring name, std::wstring cls) : name_(std::move(name)), cls_(std::move(cls)) {}

  FakeComponent& Prop(const std::wstring& name, const std::wstring& text,
                      const std::wstring& type = L"TCaption", Kind kind = Kind::kString) {
    props_.push_back(TextProperty{name, type, kind});
    texts_[name] = text;
    return *this;
  }
  // Marks the last property as an 8-bit string.
  FakeComponent& ByteString() {
    props_.back().byte_string = true;
    return *this;
  }
  FakeComponent& Items(const std::wstring& name, std::vector<std::wstring> captions) {
    props_.push_back(TextProperty{name, L"TListColumns", Kind::kCollection});
    items_[name] = std::move(captions);
    return *this;
  }

  std::wstring Name() const override { return name_; }
  std::wstring ClassName() const override { return cls_; }
  bool HasAssignedAction() const override { return action; }
  std::vector<TextProperty> TextProperties() const override { return props_; }
  bool GetText(const std::wstring& p, std::wstring* text) const override {
    auto it = texts_.find(p);
    if (it == texts_.end() || unreadable == p) return false;
    *text = it->second;
    return true;
  }
  void SetText(const std::wstring& p, const std::wstring& text) override { texts_[p] = text; }
  int ItemCount(const std::wstring& c) const override {
    auto it = items_.find(c);
    return it == items_.end() ? 0 : static_cast<int>(it->second.size());
  }
  std::vector<TextProperty> ItemProperties(const std::wstring&, int) const override {
    return {TextProperty{L"Caption", L"TCaption", Kind::kString}};
  }
  bool GetItemText(const std::wstring& c, int i, const std::wstring&,
                   std::wstring* text) const override {
    *text = items_.at(c).at(static_cast<std::size_t>(i));
    return true;
  }
  void SetItemText(const std::wstring& c, int i, const std::wstring&,
                   const std::wstring& text) override {
    items_.at(c).at(static_cast<std::size_t>(i)) = text;
  }

  std::wstring Text(const std::wstring& p) const { return texts_.at(p); }
  std::wstring Item(const std::wstring& c, int i) const {
    return items_.at(c).at(static_cast<std::size_t>(i));
  }

  bool action = false;
  std::wstring unreadable;

 private:
  std::wstring name_;
  std::wstring cls_;
  std::vector<TextProperty> props_;
  std::map<std::wstring, std::wstring> texts_;
  std::map<std::wstring, std::vector<std::wstring>> items_;
};

class FakeWindow : public TranslatableWindow {
 public:
  FakeWindow() : self_(L"frmMain", L"TfrmMain") {}

  FakeComponent& Self() { return self_; }
  FakeComponent& Add(const std::wstring& name, const std::wstring& cls) {
    owned_.push_back(std::make_unique<FakeComponent>(name, cls));
    return *owned_.back();
  }

  std::wstring Name() const override { return self_.Name(); }
  std::wstring ClassName() const override { return self_.ClassName(); }
  std::vector<TextProperty> TextProperties() const override { return self_.TextProperties(); }
  bool GetText(const std::wstring& p, std::wstring* t) const override { return self_.GetText(p, t); }
  void SetText(const std::wstring& p, const std::wstring& t) override { self_.SetText(p, t); }
  std::vector<TranslatableComponent*> Components() override {
    std::vector<TranslatableComponent*> list;
    for (auto& c : owned_) list.push_back(c.get());
    return list;
  }

 private:
  FakeComponent self_;
  std::vector<std::unique_ptr<FakeComponent>> owned_;
};

class OxMultiLangTest : public ::testing::Test {
 protected:
  OxMultiLangTest() {
    window_.Self().Prop(L"Caption", L"Main").Prop(L"Name", L"frmMain", L"TComponentName");
    window_.Add(L"btnScan", L"TButton").Prop(L"Caption", L"Scan").Prop(L"Hint", L"");
    window_.Add(L"memInfo", L"TMemo").Prop(L"Lines", L"one\r\ntwo", L"TStrings", Kind::kStrings);
    window_.Add(L"lvResult", L"TListView").Items(L"Columns", {L"Name", L"Reason"});
    window_.Add(L"lblTitle1", L"TLabel").Prop(L"Caption", L"Title");
    window_.Add(L"", L"TLabel").Prop(L"Caption", L"unnamed");
    window_.Add(L"OxMultiLang1", L"TOxMultiLang").Prop(L"Caption", L"machinery");
    data_.SetDefaultData(
        L"[AppRes]\r\nAppName=Brimlow\r\n"
        L"[TfrmMain]\r\n"
        L"frmMain.Caption={AppName}\r\n"
        L"frmMain.Name=renamed\r\n"
        L"btnScan.Caption=Scan now\r\n"
        L"memInfo.Lines=first<BR>second\r\n"
        L"lvResult.Columns[1].Caption=Why\r\n"
        L"lblTitle1.Caption=Numbered\r\n"
        L".Caption=nameless\r\n"
        L"OxMultiLang1.Caption=no\r\n"
        L"[ResString]\r\nHello=Hallo\r\n");
  }

  FakeComponent& Component(int index) {
    return static_cast<FakeComponent&>(*window_.Components()[static_cast<std::size_t>(index)]);
  }

  FakeWindow window_;
  TOxMultiLangData data_;
};

TEST_F(OxMultiLangTest, AppliesTextsToTheWindowAndItsNamedComponents) {
  TOxMultiLang lang(&window_);
  int changes = 0;
  lang.OnChangeLanguage = [&] { ++changes; };
  lang.SetLanguageData(&data_);
  lang.Loaded();  // AutoApply is on by default

  EXPECT_EQ(window_.Self().Text(L"Caption"), L"Brimlow");
  EXPECT_EQ(window_.Self().Text(L"Name"), L"frmMain");  // names are never translated
  EXPECT_EQ(Component(0).Text(L"Caption"), L"Scan now");
  EXPECT_EQ(Component(0).Text(L"Hint"), L"");  // no key: left as it was
  EXPECT_EQ(Component(1).Text(L"Lines"), L"first\r\nsecond");
  EXPECT_EQ(Component(2).Item(L"Columns", 0), L"Name");
  EXPECT_EQ(Component(2).Item(L"Columns", 1), L"Why");
  EXPECT_EQ(Component(3).Text(L"Caption"), L"Numbered");
  EXPECT_EQ(Component(4).Text(L"Caption"), L"unnamed");
  EXPECT_EQ(Component(5).Text(L"Caption"), L"machinery");
  EXPECT_EQ(changes, 1);

  // Loading a language re-applies every registered window.
  data_.SetCurrentData(L"[TfrmMain]\r\nbtnScan.Caption=Suchen\r\n");
  data_.ApplyClients();
  EXPECT_EQ(Component(0).Text(L"Caption"), L"Suchen");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(lang.GetResString(L"Hello"), L"Hallo");
  EXPECT_EQ(lang.GetResString(L"Bye"), L"Bye");
}

TEST_F(OxMultiLangTest, HarvestsTextsUnlessExcluded) {
  data_.SetDefaultData(L"");
  data_.SetExcludeProps({L":TComponentName", L"TButton:.Hint", L"memInfo.", L"lvResult..Columns"});
  data_.SetExcludeNumberEndProps(true);
  window_.Add(L"btnCure", L"TButton").Prop(L"Caption", L"Cure").action = true;
  window_.Add(L"lblNote", L"TLabel").Prop(L"Caption", L"-", L"AnsiString").Prop(L"Hint", L"h");
  window_.Add(L"lblBroken", L"TLabel").Prop(L"Caption", L"x").unreadable = L"Caption";
  TOxMultiLang lang(&window_);
  lang.SetLanguageData(&data_);
  lang.UpdateData();

  EXPECT_EQ(data_.CurrentData(),
            L"[TfrmMain]\r\n"
            L"frmMain.Caption=Main\r\n"
            L"btnScan.Caption=Scan\r\n"
            L"btnCure.Caption=Cure\r\n"
            L"lblNote.Caption=-\r\n"
            L"lblNote.Hint=h\r\n");
}

TEST_F(OxMultiLangTest, HarvestOptionsSkipEmptyTextsAndActionDrivenComponents) {
  data_.SetDefaultData(L"");
  data_.SetExcludeProps(DefaultExcludeProps());
  data_.SetExcludeEmptyProp(true);
  data_.SetExcludeWithAction(true);
  window_.Add(L"btnCure", L"TButton").Prop(L"Caption", L"Cure").action = true;
  window_.Add(L"lblNote", L"TLabel").Prop(L"Caption", L"-").ByteString().Prop(L"Hint", L"-");
  TOxMultiLang lang(&window_);
  lang.SetLanguageData(&data_);
  lang.UpdateData();

  EXPECT_EQ(data_.CurrentData(),
            L"[TfrmMain]\r\n"
            L"frmMain.Caption=Main\r\n"
            L"btnScan.Caption=Scan\r\n"
            L"memInfo.Lines=one<BR>two\r\n"
            L"lvResult.Columns[0].Caption=Name\r\n"
            L"lvResult.Columns[1].Caption=Reason\r\n"
            L"lblTitle1.Caption=Title\r\n"
            L"lblNote.Hint=-\r\n");
}

TEST_F(OxMultiLangTest, ExclusionPatternsMatchEachForm) {
  const struct {
    const wchar_t* pattern;
    bool harvested;
  } cases[] = {
      {L"TButton:.Caption", false}, {L"tbutton:", false},      {L":TCaption", false},
      {L"btnScan..Caption", false}, {L"BTNSCAN.", false},      {L".Caption", false},
      {L"TButton:.Hint", true},     {L"btnScan.Caption", true}, {L"Caption", true},
  };
  for (const auto& c : cases) {
    FakeWindow window;
    window.Add(L"btnScan", L"TButton").Prop(L"Caption", L"Scan");
    TOxMultiLangData data;
    data.SetExcludeProps({c.pattern});
    TOxMultiLang lang(&window);
    lang.SetLanguageData(&data);
    lang.UpdateData();
    std::wstring value;
    EXPECT_EQ(data.GetProp(L"TfrmMain", L"btnScan", L"Caption", &value), c.harvested)
        << ToUtf8(c.pattern);
  }
}

TEST_F(OxMultiLangTest, ClientsAndDataMayGoInEitherOrder) {
  auto data = std::make_unique<TOxMultiLangData>();
  auto first = std::make_unique<TOxMultiLang>(&window_);
  TOxMultiLang second(&window_);
  first->SetLanguageData(data.get());
  second.SetLanguageData(data.get());
  second.Loaded();  // registering twice keeps one entry
  int applied = 0;
  second.OnChangeLanguage = [&] { ++applied; };

  first.reset();
  data->ApplyClients();
  EXPECT_EQ(applied, 1);

  data.reset();
  EXPECT_EQ(second.LanguageData(), nullptr);
  second.ApplyData();  // without data: nothing happens
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(second.Language(), L"");
}

TEST_F(OxMultiLangTest, ClearDataErasesTheWindowSectionOfTheCurrentLanguage) {
  data_.SetCurrentData(L"[TfrmMain]\r\na=1\r\n[TfrmHome]\r\nb=2\r\n");
  TOxMultiLang lang(&window_);
  lang.SetLanguageData(&data_);
  data_.ClearClients();
  EXPECT_EQ(data_.CurrentData(), L"[TfrmHome]\r\nb=2\r\n");
}

}  // namespace
}  // namespace brimlow::testing
