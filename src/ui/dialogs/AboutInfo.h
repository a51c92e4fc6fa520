#pragma once

// Texts and the maker's pages shown in the About window, kept in one place.
namespace AboutInfo {

// The info text itself is i18n/EmbeddedTexts.h's AboutInfoText, the key of
// its translations.

inline constexpr char HomeUrl[] = "https://www.corvane.example/";
inline constexpr char HomeCaption[] = "www.corvane.example";
inline constexpr char SupportUrl[] = "https://www.corvane.example/support";
inline constexpr char SupportCaption[] = "Support & downloads";

} // namespace AboutInfo
