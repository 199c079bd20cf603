#pragma once

namespace zanli {

// The two library file formats: text (".LB3") and binary (every other name).
enum class LibraryFormat { Text, Binary };

}  // namespace zanli
