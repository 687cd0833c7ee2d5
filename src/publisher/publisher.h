// What the sheet and the about box show of the collection's publisher: an invented, neutral
// brand, collection title, name and addresses (the addresses are under example.org, reserved for
// examples).
#pragma once

namespace publisher {

inline constexpr const char* kBrand = "澄湖书坊";
inline constexpr const char* kCollection = "文档精选";
inline constexpr const char* kName = "澄湖书坊 (文档出版)";
inline constexpr const char* kWebAddress = "https://www.example.org/";
// The same web site as people write it, without a scheme: the about box shows and links it so.
inline constexpr const char* kWebSite = "www.example.org";
inline constexpr const char* kEmailAddress = "service@example.org";

} // namespace publisher
