#pragma once

namespace zanli {

// The private clipboard format of one part. Qt offers a format by this exact
// name to the platform (an X11 selection target of that name), so other
// instances, and anything else that knows the name, find the part under it.
inline constexpr const char kPartClipboardFormat[] = "Zanli Veld Library data";

}  // namespace zanli
