#pragma once
// The seam a window implements so that its texts can be translated: it
// names itself and the components it owns, and exposes each component's
// text properties by name. The language machinery (TOxMultiLang) applies
// texts through it and harvests them back, so both directions reach the
// same keys:
//
//   component name + "." + property            "btnOk.Caption"
//   component name + "." + collection + "[" + index + "]." + item property
//                                              "lvResult.Columns[1].Caption"
//
// A string-list property is one text (its lines joined by CR LF). Main
// thread only.

#include <string>
#include <vector>

namespace brimlow {

struct TextProperty {
  enum class Kind {
    kString,      // a text
    kStrings,     // a string list, read and written as its whole text
    kCollection,  // a collection whose items have text properties
  };
  std::wstring name;       // "Caption", "Hint", "Lines", "Columns"
  std::wstring type_name;  // "TCaption", "TStrings", "TComponentName", "TListColumns"
  Kind kind = Kind::kString;
  bool byte_string = false;  // an 8-bit string property
  bool writable = true;      // has both a getter and a setter
};

class TranslatableComponent {
 public:
  virtual ~TranslatableComponent() = default;

  // The component's name ("btnOk"); a window answers its own name
  // ("frmHome"). Unnamed components are never translated.
  virtual std::wstring Name() const = 0;
  // The class name ("TButton"; a window "TfrmHome").
  virtual std::wstring ClassName() const = 0;
  // true when an action object drives the component's texts.
  virtual bool HasAssignedAction() const { return false; }

  // The text, string-list and collection properties, in declaration order.
  virtual std::vector<TextProperty> TextProperties() const = 0;
  // Text of a kString or kStrings property. false when it cannot be read.
  virtual bool GetText(const std::wstring& property, std::wstring* text) const = 0;
  virtual void SetText(const std::wstring& property, const std::wstring& text) = 0;

  // Items of a kCollection property.
  virtual int ItemCount(const std::wstring& /*collection*/) const { return 0; }
  // The text properties of one item (kString only).
  virtual std::vector<TextProperty> ItemProperties(const std::wstring& /*collection*/,
                                                   int /*index*/) const {
    return {};
  }
  virtual bool GetItemText(const std::wstring& /*collection*/, int /*index*/,
                           const std::wstring& /*property*/, std::wstring* /*text*/) const {
    return false;
  }
  virtual void SetItemText(const std::wstring& /*collection*/, int /*index*/,
                           const std::wstring& /*property*/, const std::wstring& /*text*/) {}
};

class TranslatableWindow : public TranslatableComponent {
 public:
  // The components the window owns, in the window's component order. The
  // language components themselves may be among them; they are skipped.
  virtual std::vector<TranslatableComponent*> Components() = 0;
};

}  // namespace brimlow
