#pragma once

// Keys of apConfig.bin and of the profile files p1.bin ... p10.bin, pD.bin.
// Device-setting groups and keys carry the _J2 suffix of this mouse family.
namespace ProfileKey {

// apConfig.bin
inline constexpr char language[] = "common/language";
inline constexpr char titleChinese[] = "common/name0";
inline constexpr char titleEnglish[] = "common/name1";
inline constexpr char productNames[] = "common/product_name";
inline constexpr char secrecyCodePrefix[] = "common/sCode";   // + catalogue index
inline constexpr char profileNo[] = "J2/profileNo";
// The value of `language` that selects the Chinese texts; any other is English.
inline constexpr char chineseLanguage[] = "ChineseSimplified";

// profile files
inline constexpr char keyDefinePrefix[] = "keydefine_J2/";    // + button 0..15
inline constexpr char macroPrefix[] = "macro/";               // + button 0..15
inline constexpr char xySensitivePrefix[] = "XYSensitive/";   // + 0 (X) or 1 (Y)
inline constexpr char selectGunPrefix[] = "selectGun/";       // + 0
inline constexpr char reportRate[] = "sensor/reportRate_J2";
inline constexpr char liftOff[] = "sensor/jmgd";
inline constexpr char cursorSpeed[] = "sensor/cursorSpeed_J2";
inline constexpr char scrollLines[] = "sensor/verticalScrollLines_J2";
inline constexpr char doubleClickSpeed[] = "sensor/doubleClickSpeed_J2";
inline constexpr char dpiSelect[] = "sensor/dpi_Select";
inline constexpr char ledEffect[] = "color_J2/ledEffect";
inline constexpr char colourTablePrefix[] = "color_J2/type";  // + table type

} // namespace ProfileKey
