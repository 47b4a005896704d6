#pragma once
// The seam between the engine's skin selection and the user-interface
// toolkit that draws skins. The toolkit's skin holder implements it; the
// engine only decides which skin file is loaded and remembers the choice.

#include <string>
#include <vector>

namespace brimlow {

class SkinHolder {
 public:
  virtual ~SkinHolder() = default;

  // Replaces the skin in use by the skin file at the path (".skn" or
  // ".nsf.skn"). true when it was loaded; false leaves the previous skin.
  virtual bool LoadSkinFile(const std::wstring& path) = 0;

  // Puts the skin built into the program back in use.
  virtual void UseBuiltInSkin() = 0;

  // Whether the skin also draws the window frames ("skinnable form"); off
  // for ".nsf.skn" skins, which skin only the controls.
  virtual bool SkinnableForm() const = 0;
  virtual void SetSkinnableForm(bool on) = 0;

  // Turns the glow frames of buttons and caption buttons on or off.
  virtual void SetGlowFrames(bool on) = 0;

  // The toolkit's own resource strings (button and dialog captions) as
  // Name=Value lines, or null when the toolkit keeps none. The engine merges
  // the language's "SkinRes" section into it.
  virtual std::vector<std::wstring>* ResourceStrings() = 0;
};

}  // namespace brimlow
