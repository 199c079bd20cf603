#pragma once

namespace zanli {

// The private clipboard format of one part. Qt maps this MIME type to the
// platform format named "Zanli Veld Library data", so other instances (and
// anything else that knows the name) find it under that exact name.
inline constexpr const char kPartClipboardFormatName[] = "Zanli Veld Library data";
inline constexpr const char kPartClipboardMimeType[] =
    "application/x-qt-windows-mime;value=\"Zanli Veld Library data\"";

}  // namespace zanli
