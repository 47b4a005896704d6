#include "framework/OxMultiLang.h"

#include <algorithm>

#include "base/Text.h"
#include "framework/OxMultiLangData.h"

namespace brimlow {
namespace {

std::wstring ItemKey(const std::wstring& collection, int index, const std::wstring& property) {
  return collection + L"[" + std::to_wstring(index) + L"]." + property;
}

bool EndsInDigit(const std::wstring& name) {
  return !name.empty() && name.back() >= L'0' && name.back() <= L'9';
}

}  // namespace

TOxMultiLang::TOxMultiLang(TranslatableWindow* window) : window_(window) {}

TOxMultiLang::~TOxMultiLang() { SetLanguageData(nullptr); }

void TOxMultiLang::SetLanguageData(TOxMultiLangData* data) {
  if (data == FLanguageData) return;
  if (FLanguageData) FLanguageData->RemoveClient(this);
  FLanguageData = data;
  if (FLanguageData) FLanguageData->AddClient(this);
}

void TOxMultiLang::Loaded() {
  if (!FLanguageData) return;
  FLanguageData->AddClient(this);
  if (FLanguageData->AutoApply()) ApplyData();
}

std::wstring TOxMultiLang::Section() const { return window_->ClassName(); }

// The window itself, then every named component that is not part of the
// language machinery, in the window's component order.
std::vector<TranslatableComponent*> TOxMultiLang::Targets() {
  std::vector<TranslatableComponent*> targets{window_};
  for (TranslatableComponent* c : window_->Components()) {
    if (!c || c == window_ || c->Name().empty()) continue;
    const std::wstring cls = c->ClassName();
    if (cls == L"TOxMultiLang" || cls == L"TOxMultiLangData") continue;
    targets.push_back(c);
  }
  return targets;
}

void TOxMultiLang::ApplyData() {
  if (!FLanguageData || !window_) return;
  for (TranslatableComponent* c : Targets()) ApplyProp(*c);
  if (OnChangeLanguage) OnChangeLanguage();
}

void TOxMultiLang::ApplyProp(TranslatableComponent& component) {
  if (!FLanguageData) return;
  const std::wstring section = Section();
  const std::wstring name = component.Name();
  std::wstring value;
  for (const TextProperty& p : component.TextProperties()) {
    switch (p.kind) {
      case TextProperty::Kind::kString:
        if (p.type_name == L"TComponentName") break;
        [[fallthrough]];
      case TextProperty::Kind::kStrings:
        if (FLanguageData->GetProp(section, name, p.name, &value)) component.SetText(p.name, value);
        break;
      case TextProperty::Kind::kCollection:
        for (int i = 0; i < component.ItemCount(p.name); ++i) {
          for (const TextProperty& item : component.ItemProperties(p.name, i)) {
            if (FLanguageData->GetProp(section, name, ItemKey(p.name, i, item.name), &value)) {
              component.SetItemText(p.name, i, item.name, value);
            }
          }
        }
        break;
    }
  }
}

bool TOxMultiLang::Excluded(const TranslatableComponent& component,
                            const TextProperty& property) const {
  const std::wstring c = component.ClassName();
  const std::wstring n = component.Name();
  const std::wstring patterns[] = {c + L":." + property.name, c + L":",
                                   L":" + property.type_name, n + L".." + property.name,
                                   n + L".",                  L"." + property.name};
  for (const std::wstring& entry : FLanguageData->ExcludeProps()) {
    for (const std::wstring& pattern : patterns) {
      if (SameText(entry, pattern)) return true;
    }
  }
  return false;
}

void TOxMultiLang::UpdateData() {
  if (!FLanguageData || !window_) return;
  for (TranslatableComponent* c : Targets()) {
    if (FLanguageData->ExcludeWithAction() && c->HasAssignedAction()) continue;
    if (FLanguageData->ExcludeNumberEndProps() && EndsInDigit(c->Name())) continue;
    Harvest(*c);
  }
  FLanguageData->UpdateData();
}

void TOxMultiLang::Harvest(TranslatableComponent& component) {
  const std::wstring section = Section();
  const std::wstring name = component.Name();
  const bool skip_empty = FLanguageData->ExcludeEmptyProp();
  const auto store = [&](const std::wstring& key, const std::wstring& text, bool byte_string) {
    if (skip_empty && (text.empty() || (byte_string && text == L"-"))) return;
    FLanguageData->SetProp(section, name, key, text);
  };
  std::wstring text;
  for (const TextProperty& p : component.TextProperties()) {
    if (!p.writable || Excluded(component, p)) continue;
    if (p.kind != TextProperty::Kind::kCollection) {
      if (component.GetText(p.name, &text)) store(p.name, text, p.byte_string);
      continue;
    }
    for (int i = 0; i < component.ItemCount(p.name); ++i) {
      for (const TextProperty& item : component.ItemProperties(p.name, i)) {
        if (!item.writable) continue;
        if (component.GetItemText(p.name, i, item.name, &text)) {
          store(ItemKey(p.name, i, item.name), text, item.byte_string);
        }
      }
    }
  }
}

void TOxMultiLang::ClearData() {
  if (FLanguageData && window_) FLanguageData->ClearForm(Section());
}

bool TOxMultiLang::GetProp(const std::wstring& strForm, const std::wstring& strComp,
                           const std::wstring& strProp, std::wstring* strValue) {
  return FLanguageData && FLanguageData->GetProp(strForm, strComp, strProp, strValue);
}

std::wstring TOxMultiLang::Language() {
  return FLanguageData ? FLanguageData->CurrentLanguage() : L"";
}

std::wstring TOxMultiLang::GetResString(const std::wstring& strName) {
  std::wstring value = strName;
  GetProp(L"ResString", L"", strName, &value);
  return value;
}

void TOxMultiLang::GetSectionStrings(const std::wstring& strSection,
                                     std::vector<std::wstring>* sl) {
  if (FLanguageData) FLanguageData->GetSectionStrings(strSection, sl);
}

}  // namespace brimlow
