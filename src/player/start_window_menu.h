#pragma once
// Inside the start window: the [Main Menu] of the package's "DATA.INI" and the
// player's settings, read through the profile functions.
#include <cstdint>
#include <string>

namespace kiv {

// The package's "DATA.INI", written out as "TEMP.DAT" while it is read. With
// no such entry every key gives its default.
class MenuIni {
 public:
  MenuIni();  // writes "TEMP.DAT"
  std::string Text(const std::string& key, const std::string& defaultText) const;
  std::int32_t Number(const std::string& key, std::int32_t defaultValue) const;

 private:
  bool present_ = false;
};

// The first load's settings ("SETTINGS.INI"), the voice defaulting to "DATA.INI" "Voice".
void ReadFirstLoadSettings(const MenuIni& menu);
// The window and screen rules of "DATA.INI" and "SETTINGS.INI" [Render], read at each activation.
void ReadActivationSettings(const MenuIni& menu);
void ReadScreenSettings();

// Places the menu buttons: "#" hides buttons 1 to 8, the rest stack from 4
// with an extra 4 before the option group and before buttons 8 and 9.
struct ButtonPlace {
  bool visible;
  std::int32_t top;
  std::int32_t height;
};
void LayOutMenuButtons(const std::string (&captions)[10], ButtonPlace (&places)[10]);

}  // namespace kiv
