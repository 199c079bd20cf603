#pragma once

// The two library file formats, as the file layer names them.
#include "fileio/library_file_result.h"
