// What the sheet shows of the collection's publisher: an invented, neutral brand, collection
// title, name and address (the address is under example.org, reserved for examples).
#pragma once

namespace publisher {

inline constexpr const char* kBrand = "澄湖书坊";
inline constexpr const char* kCollection = "文档精选";
inline constexpr const char* kName = "澄湖书坊 (文档出版)";
inline constexpr const char* kWebAddress = "https://www.example.org/";

} // namespace publisher
