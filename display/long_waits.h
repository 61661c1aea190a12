#pragma once
// Loading, converting and saving a picture of 20 megapixels or more take long
// enough that the pointer shows the busy cursor meanwhile.

namespace korven {

inline bool takes_long(long long pixels) { return pixels >= 20'000'000; }

}  // namespace korven
