// The names the files of a book are known by: a text and its word index sit
// side by side under the same key, with these extensions.
#pragma once

namespace varnet {

inline constexpr const char* kTextExtension = ".qtx";
inline constexpr const char* kIndexExtension = ".qdx";

}  // namespace varnet
