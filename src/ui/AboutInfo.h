#pragma once

// Texts and the maker's pages shown in the About window, kept in one place.
namespace AboutInfo {

// Translation key of the info text (rich text: <br> and <b>).
inline constexpr char InfoText[] =
    "Configuration tool for<br><b>CORVANE</b><br><br>\u00A9 2026 Corvane Lighting";

inline constexpr char HomeUrl[] = "https://www.corvane.example/";
inline constexpr char HomeCaption[] = "www.corvane.example";
inline constexpr char SupportUrl[] = "https://www.corvane.example/support";
inline constexpr char SupportCaption[] = "Support & downloads";

} // namespace AboutInfo
